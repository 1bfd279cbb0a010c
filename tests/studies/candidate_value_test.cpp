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

// A resource's output, one row an hour of each of `years` years, by the
// hour of the day (1..24).
std::string output(int years, int (*mwAt)(int hour)) {
    std::string text = "mw\n";
    for (int h = 0; h < years * 8760; ++h) text += std::to_string(mwAt(h % 24 + 1)) + "\n";
    return text;
}

std::string variableCandidate(const std::string& csv) {
    return "[[variable]]\nname = \"" + csv + "\"\narea = 0\nhourly = \"" + csv + "\"\n";
}

// Firm capacity and a resource that always gives the same MW carry their
// MW exactly, on the plain system and on one of several weather years,
// forecast steps and maintenance; a resource's worth follows the hours it
// gives them in.
TEST(CandidateValues, VariableResourcesAreWorthWhatTheyGiveWhenTheRiskIs) {
    const std::string examples = ADEQUACY_EXAMPLES;
    const SystemFileFolder folder;
    folder.write("firm.toml", unitType(137, 0.0) + "[area0]\nunits = [1]\n");
    for (int years : {1, 3}) {
        const std::string y = std::to_string(years);
        folder.write("steady" + y + ".csv", output(years, [](int) { return 137; }));
        folder.write("none" + y + ".csv", output(years, [](int) { return 0; }));
        folder.write("noon" + y + ".csv",
                     output(years, [](int h) { return h >= 10 && h <= 15 ? 300 : 0; }));
        folder.write("night" + y + ".csv", output(years, [](int h) { return h < 7 ? 300 : 0; }));
        for (const char* name : {"steady", "none", "noon", "night"})
            folder.write(name + y + ".toml", variableCandidate(name + y + ".csv"));
    }
    for (const std::string system : {"", "varying.toml"}) {
        std::vector<std::string> args{"capacity"};
        const std::string y = system.empty() ? "1" : "3";
        if (!system.empty()) args.insert(args.end(), {"--system", examples + "/" + system});
        for (const char* name : {"firm", "steady", "none", "noon", "night"}) {
            const std::string file = name == std::string("firm") ? "firm.toml" : name + y + ".toml";
            args.insert(args.end(), {"--candidate", file});
        }
        const json r = resultsOf(folder, args);
        ASSERT_TRUE(r.is_object()) << system;
        const json& values = r["capacity"]["candidates"];
        ASSERT_EQ(values.size(), 5u);
        for (const char* figure : {"elcc_mw", "efc_mw"}) {
            auto of = [&](std::size_t i) { return values[i][figure].get<double>(); };
            EXPECT_NEAR(of(0), 137.0, 0.02) << system << " " << figure << ": firm";
            EXPECT_NEAR(of(1), 137.0, 0.02) << system << " " << figure << ": steady";
            EXPECT_NEAR(of(2), 0.0, 0.02) << system << " " << figure << ": nothing";
            EXPECT_GT(of(3), 10.0 * of(4)) << system << " " << figure << ": noon over night";
        }
    }
    // The same resources as the system's own are worth the same.
    std::string own = readFile(examples + "/builtin.toml");
    for (const char* name : {"steady", "none", "noon", "night"})
        own.append("\n").append(variableCandidate(std::string(name).append("1.csv")));
    folder.write("own.toml", own);
    const json r = resultsOf(folder, {"capacity", "--system", "own.toml"});
    ASSERT_TRUE(r.is_object());
    const json& values = r["capacity"]["resources"];
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values[0]["name"], "steady1.csv");
    for (const char* figure : {"elcc_mw", "efc_mw"}) {
        auto of = [&](std::size_t i) { return values[i][figure].get<double>(); };
        EXPECT_NEAR(of(0), 137.0, 0.02) << figure << ": steady";
        EXPECT_NEAR(of(1), 0.0, 0.02) << figure << ": nothing";
        EXPECT_GT(of(2), 10.0 * of(3)) << figure << ": noon over night";
    }
}

}  // namespace
}  // namespace adequacy::testing
