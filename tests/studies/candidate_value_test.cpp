// What candidate units are worth to the built-in system, through the real
// program: firm capacity is worth its MW, capacity that is never there is
// worth nothing, and the worth grows with the size and falls with the
// forced-outage rate.

#include <gtest/gtest.h>

#include "studies/study_runs.hpp"

namespace adequacy::testing {
namespace {

using nlohmann::json;

TEST(CandidateValues, FollowSizeAndOutageRate) {
    struct Candidate {
        const char* file;
        int mw;
        double forcedOutageRate;
        const char* area;
    };
    const std::vector<Candidate> candidates{
        {"100.toml", 100, 0.05, "area1"},      {"200.toml", 200, 0.05, "area1"},
        {"300.toml", 300, 0.05, "area0"},      {"200-low.toml", 200, 0.02, "area0"},
        {"200-high.toml", 200, 0.10, "area1"}, {"firm.toml", 137, 0.0, "area0"},
        {"never.toml", 200, 1.0, "area1"},
    };
    const SystemFileFolder folder;
    std::vector<std::string> args{"capacity"};
    for (const Candidate& c : candidates) {
        folder.write(c.file,
                     unitType(c.mw, c.forcedOutageRate) + "[" + c.area + "]\nunits = [1]\n");
        args.insert(args.end(), {"--candidate", c.file});
    }
    const json r = resultsOf(folder, args);
    ASSERT_TRUE(r.is_object());
    const json& values = r["capacity"]["candidates"];
    ASSERT_EQ(values.size(), candidates.size());
    for (const char* figure : {"elcc_mw", "efc_mw"}) {
        auto of = [&](std::size_t i) { return values[i][figure].get<double>(); };
        EXPECT_LT(of(0), of(1)) << figure << ": 100 MW below 200 MW";
        EXPECT_LT(of(1), of(2)) << figure << ": 200 MW below 300 MW";
        EXPECT_GT(of(3), of(1)) << figure << ": outage rate 0.02 above 0.05";
        EXPECT_GT(of(1), of(4)) << figure << ": outage rate 0.05 above 0.10";
        EXPECT_NEAR(of(5), 137.0, 0.1) << figure << ": firm";
        EXPECT_NEAR(of(6), 0.0, 0.1) << figure << ": never there";
        for (std::size_t i = 0; i < candidates.size(); ++i)
            EXPECT_EQ(values[i]["file"], candidates[i].file);
    }
}

}  // namespace
}  // namespace adequacy::testing
