// The load a small system carries at a target, worked out by hand, through
// the real program.
//
// Area 1 holds two 100 MW units, each out one hour in ten, under a constant
// 100 MW; area 0 one 50 MW unit that never fails and no load, joined to
// area 1 by a 50 MW tie that never fails. Area 1's MW out are 0, 100 and
// 200 with probabilities 0.81, 0.18 and 0.01, so with a margin of m MW its
// expected MW short are 0.01 (200 - m) for m from 100 to 200, and it is
// short with probability 0.01 for m from 100 to 199. The whole system and
// area 1 with the tie have the margin 150 - a with a MW added, area 1
// without the tie 100 - a.

#include <gtest/gtest.h>

#include <array>

#include "studies/study_runs.hpp"

namespace adequacy::testing {
namespace {

using nlohmann::json;

void writeHandWorkedSystem(const SystemFileFolder& folder) {
    folder.write("s.toml", unitType(100, 0.1) + unitType(50, 0.0) +
                               "[area1]\nunits = [1, 1]\n[area0]\nunits = [2]\n"
                               "[loads]\nhourly = \"l.csv\"\n[[atc]]\nmw = 50\nprobability = 1\n");
    std::string rows;
    for (int hour = 0; hour < 8760; ++hour) rows += "100,100\n";
    folder.write("l.csv", rows);
    // Each joins area 1: 20 MW never out, 20 MW always out, and a third
    // 100 MW unit like the others.
    folder.write("firm.toml", unitType(20, 0.0) + "[area1]\nunits = [1]\n");
    folder.write("never.toml", unitType(20, 1.0) + "[area1]\nunits = [1]\n");
    folder.write("third.toml", unitType(100, 0.1) + "[area1]\nunits = [1]\n");
}

constexpr double withinMw = 0.1;

TEST(HandWorkedCapacity, LoadCarriedTieAndCandidates) {
    struct Case {
        const char* target;
        const char* form;
        double whole;    // MW added at the target
        double area1;    // with the tie
        double without;  // area 1 without the tie
        // ELCC and EFC of the firm and of the third unit, when given; the
        // unit that is always out is worth nothing. At LOLE 5 the firm unit
        // changes no LOLP at the year's load, and a third unit leaves the
        // load carried where it was (two out of three is likelier than two
        // out of two) while it cuts the year's LOLE as 50 firm MW would.
        std::array<double, 4> values{-1, -1, -1, -1};
    };
    const SystemFileFolder folder;
    writeHandWorkedSystem(folder);
    for (const Case& c : {
             // 0.8 MW short a hour: a margin of 120 MW.
             Case{"eue=7008", "add", 30, 30, -20, {20, 20, 45, 45}},
             Case{"eue=7008", "scale", 30, 30, -20},
             // Short one hour in a hundred at most: a margin of 100 MW.
             Case{"lole=5", "add", 50, 50, 0, {20, 0, 0, 50}},
             Case{"lolh=200", "add", 50, 50, 0},
             // 0.8 of 130 MW; area 1 alone is short of one part in a hundred
             // of its demand at any load up to 100 MW: only no load meets it.
             Case{"ppm=6153.846153846154", "add", 30, 30, -100},
         }) {
        const std::string what = std::string(c.target) + " " + c.form;
        const json r =
            resultsOf(folder, {"capacity", "--system", "s.toml", "--target", c.target, "--form",
                               c.form, "--candidate", "firm.toml", "--candidate", "never.toml",
                               "--candidate", "third.toml"});
        ASSERT_TRUE(r.is_object()) << what;
        const json& capacity = r["capacity"];
        const json& whole = capacity["whole_system"];
        EXPECT_NEAR(whole["added_mw"].get<double>(), c.whole, withinMw) << what;
        EXPECT_NEAR(whole["peak_mw"].get<double>(), 100 + c.whole, withinMw) << what;
        EXPECT_NEAR(whole["reserve_margin_percent"].get<double>(),
                    (250 / (100 + c.whole) - 1) * 100, 0.1)
            << what;
        EXPECT_NEAR(capacity["area1"]["added_mw"].get<double>(), c.area1, withinMw) << what;
        EXPECT_NEAR(capacity["area1"]["reserve_margin_percent"].get<double>(),
                    (200 / (100 + c.area1) - 1) * 100, 0.1)
            << what;
        EXPECT_NEAR(capacity["area1_without_tie"]["added_mw"].get<double>(), c.without, withinMw)
            << what;
        EXPECT_NEAR(capacity["tie_capacity_value_mw"].get<double>(), c.area1 - c.without, withinMw)
            << what;
        const json& values = capacity["candidates"];
        for (std::size_t i = 0; c.values[0] >= 0 && i < 2; ++i) {
            const json& value = values[i == 0 ? 0 : 2];
            EXPECT_NEAR(value["elcc_mw"].get<double>(), c.values[2 * i], withinMw) << what << i;
            EXPECT_NEAR(value["efc_mw"].get<double>(), c.values[2 * i + 1], withinMw) << what << i;
        }
        EXPECT_NEAR(values[1]["elcc_mw"].get<double>(), 0, withinMw) << what;
        EXPECT_NEAR(values[1]["efc_mw"].get<double>(), 0, withinMw) << what;
        if (std::string(c.form) == "scale") {
            EXPECT_NEAR(whole["load_scale"].get<double>(), 1 + c.whole / 100, 1e-3) << what;
        }
    }
}

}  // namespace
}  // namespace adequacy::testing
