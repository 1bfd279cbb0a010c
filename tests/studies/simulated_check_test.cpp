// A capacity study checked by the independent engine, through the real
// program: at the load found the simulated index covers the target, and on
// common random numbers a candidate that is always there is worth its MW
// to the load the simulated years carry, exactly.

#include <gtest/gtest.h>

#include <cmath>

#include "studies/study_runs.hpp"

namespace adequacy::testing {
namespace {

using nlohmann::json;

TEST(SimulatedCheck, CoversTheTargetAndValuesFirmCapacityAtItsMw) {
    const SystemFileFolder folder;
    folder.write("firm.toml", unitType(150, 0.0) + "[area0]\nunits = [1]\n");
    folder.write("unit.toml", unitType(200, 0.05) + "[area1]\nunits = [1]\n");
    const json r = resultsOf(folder, {"capacity", "--candidate", "firm.toml", "--candidate",
                                      "unit.toml", "--years", "5000", "--threads", "2"});
    ASSERT_TRUE(r.is_object());
    const json& capacity = r["capacity"];
    EXPECT_EQ(capacity["simulation"]["years"], 5000);
    // A fixed seed, and a band of three standard errors about the exact
    // index at the load found (the target, or a step of the index below it).
    for (const char* area : {"whole_system", "area1"}) {
        const json& simulated = capacity[area]["simulated"];
        const double exact = capacity[area]["index_at_load"].get<double>();
        EXPECT_LE(exact, 0.1) << area;
        EXPECT_LT(std::abs(simulated["estimate"].get<double>() - exact),
                  3 * simulated["standard_error"].get<double>())
            << area;
    }
    const json& firm = capacity["candidates"][0];
    EXPECT_NEAR(firm["elcc_simulated_mw"].get<double>(), 150.0, 0.05);
    EXPECT_NEAR(firm["standard_error"].get<double>(), 0.0, 0.05);
    // A unit that fails: its simulated worth within three standard errors of
    // the direct one, and below its MW.
    const json& unit = capacity["candidates"][1];
    const double simulatedElcc = unit["elcc_simulated_mw"].get<double>();
    EXPECT_LT(std::abs(simulatedElcc - unit["elcc_mw"].get<double>()),
              3 * unit["standard_error"].get<double>() + 1.0);
    EXPECT_LT(simulatedElcc, 200.0);
}

}  // namespace
}  // namespace adequacy::testing
