// Systems whose years differ, simulated by the independent engine through
// the real program, against the direct solutions of the same run: the
// simulated figures of a fixed seed lie within four standard errors of the
// exact ones, overall and weather year by weather year.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "e2e/program_run.hpp"

namespace adequacy::testing {
namespace {

using nlohmann::json;

const std::string examples = ADEQUACY_EXAMPLES;
constexpr double band = 4.0;  // standard errors

json simulate(const std::string& system, const std::string& years,
              const std::vector<std::pair<std::string, std::string>>& files = {}) {
    RunSetup setup;
    setup.args = {"--system", "s.toml", "--engine", "independent", "--years",
                  years,      "--json", "r.json",   "--quiet"};
    std::filesystem::path workDir;
    setup.prepare = [&](const std::filesystem::path& dir) {
        workDir = dir;
        std::ofstream(dir / "s.toml") << system;
        for (const auto& [name, text] : files) std::ofstream(dir / name) << text;
        std::filesystem::create_symlink(examples + "/varying", dir / "varying");
    };
    StartedProgram program("", setup);
    const ProgramRun run = program.wait();
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    if (run.exitStatus != 0) return nullptr;
    return json::parse(readFile((workDir / "r.json").string()));
}

void expectWithin(const json& simulated, double exact, const std::string& what) {
    const double estimate = simulated.contains("estimate") ? simulated["estimate"].get<double>()
                                                           : simulated["mean"].get<double>();
    const double se = simulated["standard_error"].get<double>();
    EXPECT_GT(se, 0.0) << what;
    EXPECT_LT(std::fabs(estimate - exact), band * se)
        << what << ": simulated " << estimate << " (SE " << se << "), exact " << exact;
}

TEST(VaryingSimulation, WeatherYearsMaintenanceAndForecastStepsMeetTheDirectFigures) {
    const json r = simulate(readFile(examples + "/varying.toml"), "20000");
    ASSERT_TRUE(r.is_object());
    const json& single = r["single_area"][0];
    const json& exact1 = r["two_area"][0]["area1_as_simulated"];
    const json& report = r["monte_carlo"]["reports"].back();
    expectWithin(report["system"]["lolh"], single["lolh"], "system LOLH");
    expectWithin(report["system"]["mwh_eue"], single["mwh_eue"], "system MWHEUE");
    expectWithin(r["monte_carlo"]["independent_years"]["system"]["lole_peak_hour"], single["lole"],
                 "system LOLE at the peak hour");
    expectWithin(report["area1"]["lolh"], exact1["lolh"], "area 1 LOLH");
    expectWithin(report["area1"]["mwh_eue"], exact1["mwh_eue"], "area 1 MWHEUE");
    const json& byYear = r["monte_carlo"]["variation"]["weather_years"];
    ASSERT_EQ(byYear.size(), 3u);
    for (std::size_t w = 0; w < byYear.size(); ++w) {
        const json& direct = single["weather_years"][w];
        const std::string what = "weather year " + std::to_string(w + 1);
        expectWithin(byYear[w]["system"]["lolh"], direct["lolh"], what + " LOLH");
        expectWithin(byYear[w]["system"]["mwh_eue"], direct["mwh_eue"], what + " MWHEUE");
        expectWithin(byYear[w]["system"]["lole_peak_hour"], direct["lole"], what + " LOLE");
        const json& exactYear = exact1["weather_years"][w];
        expectWithin(byYear[w]["area1"]["lolh"], exactYear["lolh"], what + " area 1 LOLH");
        expectWithin(byYear[w]["area1"]["mwh_eue"], exactYear["mwh_eue"], what + " area 1 EUE");
        // Drawn with the weights 0.4, 0.2, 0.4: within four binomial SEs.
        const double share = byYear[w]["years"].get<double>() / 20000.0;
        const double weight = byYear[w]["weight"].get<double>();
        EXPECT_LT(std::fabs(share - weight), band * std::sqrt(weight * (1 - weight) / 20000.0))
            << what;
    }
}

// The same draws meet the same net loads: a resource that always gives
// 100 MW in area 0 is simulated exactly as 100 MW less of D4.
TEST(VaryingSimulation, ASteadyResourceIsSimulatedAsTheLoadItTakesOff) {
    const std::string base = readFile(examples + "/builtin.toml");
    std::string lowered = base;
    lowered.replace(lowered.find("1424, 300"), 9, "1324, 300");
    std::string steady = "mw\n";
    for (int h = 0; h < 8760; ++h) steady += "100\n";
    const json withResource =
        simulate(base + "\n[[variable]]\nname = \"steady\"\narea = 0\nhourly = \"c.csv\"\n",
                 "10000", {{"c.csv", steady}});
    const json withLowerLoad = simulate(lowered, "10000");
    ASSERT_TRUE(withResource.is_object() && withLowerLoad.is_object());
    EXPECT_EQ(withResource["monte_carlo"]["reports"], withLowerLoad["monte_carlo"]["reports"]);
    const json& report = withResource["monte_carlo"]["reports"].back();
    expectWithin(report["system"]["lolh"], withLowerLoad["single_area"][0]["lolh"], "LOLH");
    expectWithin(report["system"]["mwh_eue"], withLowerLoad["single_area"][0]["mwh_eue"], "MWHEUE");
}

}  // namespace
}  // namespace adequacy::testing
