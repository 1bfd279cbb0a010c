// The load a capacity study finds, put into an ordinary run of the real
// program, meets the target there, and 0.1 MW more does not.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "studies/study_runs.hpp"

namespace adequacy::testing {
namespace {

using nlohmann::json;

const std::string examples = ADEQUACY_EXAMPLES;

std::string decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

// The index named by the target, as the ordinary run's results file has it.
double ordinaryIndex(const json& results, const std::string& area, const std::string& index) {
    const std::string key = index == "eue" ? "mwh_eue" : index == "ppm" ? "eue_ppm" : index;
    if (area == "whole_system") return results["single_area"].back()[key].get<double>();
    return results["two_area"].back()["area1_as_simulated"][key].get<double>();
}

// The example year of hourly loads with `mw` added to the whole system's
// load and, for area 1, to area 1's too, so that area 0's stays the same.
void writeHourlyLoads(const SystemFileFolder& folder, const std::string& area, double mw) {
    std::ifstream in(examples + "/hourly_loads.csv");
    std::string line;
    std::getline(in, line);  // the header
    std::ostringstream rows;
    double total = 0;
    double area1 = 0;
    char comma = ',';
    while (in >> total >> comma >> area1)
        rows << decimal(total + mw) << ',' << decimal(area1 + (area == "area1" ? mw : 0)) << '\n';
    folder.write("l.csv", rows.str());
}

// The index of an ordinary run with `mw` added as the study adds it.
double ordinaryRunWith(const SystemFileFolder& folder, bool builtIn, const std::string& area,
                       const std::string& index, double mw) {
    if (builtIn)
        return ordinaryIndex(
            resultsOf(folder, {"--load", ",,," + decimal(1424 + mw) + "/", "--years", "999"}), area,
            index);
    writeHourlyLoads(folder, area, mw);
    return ordinaryIndex(resultsOf(folder, {"--system", "s.toml", "--years", "999"}), area, index);
}

TEST(CapacityReproduction, FoundLoadMeetsTheTargetInOrdinaryRuns) {
    struct Case {
        bool builtIn;  // else the example year of hourly loads
        const char* area;
        const char* index;
        const char* value;
    };
    const SystemFileFolder folder;
    std::string hourlySystem = readFile(examples + "/hourly.toml");
    hourlySystem.replace(hourlySystem.find("\"hourly_loads.csv\""), 18, "\"l.csv\"");
    folder.write("s.toml", hourlySystem);
    for (const Case& c : {
             Case{true, "whole_system", "lole", "0.1"},
             Case{true, "whole_system", "lole", "0.5"},
             Case{true, "whole_system", "lolh", "1"},
             Case{true, "whole_system", "eue", "100"},
             Case{true, "whole_system", "ppm", "2"},
             Case{false, "whole_system", "lolh", "0.3"},
             Case{false, "area1", "lole", "0.1"},
             Case{false, "area1", "eue", "40"},
         }) {
        const std::string target = std::string(c.index) + "=" + c.value;
        const std::string what = target + " " + c.area + (c.builtIn ? " built-in" : " hourly");
        if (!c.builtIn) writeHourlyLoads(folder, c.area, 0);
        std::vector<std::string> args{"capacity", "--target", target};
        if (!c.builtIn) args.insert(args.end(), {"--system", "s.toml"});
        const json study = resultsOf(folder, args);
        ASSERT_TRUE(study.is_object()) << what;
        const double mw = study["capacity"][c.area]["added_mw"].get<double>();
        const double value = std::stod(c.value);
        const double at = ordinaryRunWith(folder, c.builtIn, c.area, c.index, mw);
        EXPECT_LE(at, value * (1 + 1e-5)) << what << " at " << mw;
        EXPECT_GT(ordinaryRunWith(folder, c.builtIn, c.area, c.index, mw + 0.1), value)
            << what << " at " << mw;
        if (c.builtIn && target == "lole=0.1") {
            EXPECT_NEAR(at, value, 0.001) << what;
        }
    }
}

}  // namespace
}  // namespace adequacy::testing
