// A capacity study checked by the independent engine, through the real
// program: at the load found the simulated index covers the target, and on
// common random numbers a candidate that is always there is worth its MW
// to the load the simulated years carry, exactly; so on a system that
// varies from year to year, and for a resource that gives the same MW
// every hour.

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

namespace adequacy::testing {
namespace {

using nlohmann::json;

// A resource of `years` weather years giving `mw` every hour.
std::string steadyOutput(int years, int mw) {
    std::string text = "mw\n";
    for (int h = 0; h < years * 8760; ++h) text.append(std::to_string(mw)).append("\n");
    return text;
}

// The example of three weather years, wind, solar, maintenance and seven
// forecast steps, checked on 5000 simulated years of seed 3. The direct
// index at the load found must lie within four standard errors of the
// simulated one, as a whole and in area 1; in the added form, firm capacity
// and a resource giving the same MW every hour carry exactly their MW more
// on the years simulated too, for they draw nothing the system's units do.
TEST(SimulatedCheck, VaryingSystemMeetsItsDirectFiguresAndValuesSteadyCapacityAtItsMw) {
    struct Study {
        const char* target;
        const char* form;
        bool steadyAtItsMw;
    };
    const std::vector<Study> studies{
        {"lole=0.1", "add", true},
        {"eue=100", "add", true},
        {"ppm=2", "scale", false},
    };
    const std::string examples = ADEQUACY_EXAMPLES;
    const SystemFileFolder folder;
    folder.write("firm.toml", unitType(137, 0.0) + "[area0]\nunits = [1]\n");
    folder.write("steady.csv", steadyOutput(3, 137));
    folder.write("steady.toml",
                 "[[variable]]\nname = \"steady\"\narea = 0\nhourly = \"steady.csv\"\n");
    for (const Study& study : studies) {
        const json r =
            resultsOf(folder, {"capacity", "--system", examples + "/varying.toml", "--target",
                               study.target, "--form", study.form, "--candidate", "firm.toml",
                               "--candidate", "steady.toml", "--years", "5000", "--threads", "2"});
        ASSERT_TRUE(r.is_object()) << study.target;
        const json& capacity = r["capacity"];
        for (const char* area : {"whole_system", "area1"}) {
            const json& simulated = capacity[area]["simulated"];
            const double exact = capacity[area]["index_at_load"].get<double>();
            const double estimate = simulated["estimate"].get<double>();
            const double se = simulated["standard_error"].get<double>();
            EXPECT_GT(se, 0.0) << study.target << " " << area;
            EXPECT_LT(std::abs(estimate - exact), 4 * se)
                << study.target << " " << area << ": simulated " << estimate << " (SE " << se
                << "), direct " << exact;
        }
        const json& values = capacity["candidates"];
        ASSERT_EQ(values.size(), 2u);
        for (const json& value : values) {
            const double elcc = value["elcc_simulated_mw"].get<double>();
            if (study.steadyAtItsMw) {
                EXPECT_NEAR(elcc, 137.0, 0.01) << study.target << " " << value["file"];
                EXPECT_NEAR(value["standard_error"].get<double>(), 0.0, 0.01)
                    << study.target << " " << value["file"];
            } else {
                EXPECT_LT(std::abs(elcc - value["elcc_mw"].get<double>()),
                          4 * value["standard_error"].get<double>() + 0.5)
                    << study.target << " " << value["file"];
            }
        }
    }
}

// A resource on the plain system, one weather year of the same MW every
// hour, is simulated on the same draws as the system without it.
TEST(SimulatedCheck, SteadyResourceOnThePlainSystemIsWorthItsMw) {
    const SystemFileFolder folder;
    folder.write("steady.csv", steadyOutput(1, 90));
    folder.write("steady.toml",
                 "[[variable]]\nname = \"steady\"\narea = 1\nhourly = \"steady.csv\"\n");
    const json r = resultsOf(
        folder, {"capacity", "--candidate", "steady.toml", "--years", "2000", "--threads", "2"});
    ASSERT_TRUE(r.is_object());
    const json& value = r["capacity"]["candidates"][0];
    EXPECT_NEAR(value["elcc_simulated_mw"].get<double>(), 90.0, 0.01);
    EXPECT_NEAR(value["elcc_mw"].get<double>(), 90.0, 0.01);
}

}  // namespace
}  // namespace adequacy::testing
