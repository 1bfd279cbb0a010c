// The independent engine on systems that vary from year to year, in
// process: weather years, maintenance and forecast steps against plain
// systems whose figures they must reproduce exactly, the same figures on
// any number of threads, and runs of disjoint years put together.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/load_cases.hpp"
#include "montecarlo/independent/run.hpp"
#include "report/clock.hpp"
#include "results/json.hpp"
#include "results/merge.hpp"
#include "results/recorder.hpp"

namespace adequacy::independent {
namespace {

using json = nlohmann::ordered_json;

// Two 40 MW units in area 1 and three 60 MW units (30 MW derated) in area
// 0; `hourly(h)` gives each weather year's whole-system load, area 1 taking
// 60 of 140.
StudySystem smallSystem(int weatherYears, float (*hourly)(int weatherYear, int hour)) {
    StudySystem system;
    system.types = {UnitType{40, 0, 0.08f, 0.0f, 1.0f}, UnitType{60, 30, 0.05f, 0.05f, 2.0f}};
    system.unitTypes = {0, 0, 1, 1, 1};
    system.area1UnitCount = 2;
    HourlyLoadYear loads{"l.csv", {}, {}};
    for (int w = 0; w < weatherYears; ++w) {
        for (int h = 0; h < hoursPerYear; ++h) {
            loads.total.push_back(hourly(w, h));
            loads.area1.push_back(hourly(w, h) * (60.0f / 140.0f));
        }
    }
    system.hourlyLoads = loads;
    return system;
}

float constant140(int, int) { return 140.0f; }

struct RunOptions {
    bool varying = true;
    int years = 2000;
    int threads = 1;
    std::uint64_t firstYear = 1;
    bool inTurn = false;
};

results::Results simulate(const StudySystem& system, const RunOptions& o) {
    const UnitTypes units = unitTypesOf(system);
    LoadCases cases;
    sizeLoadCases(system, cases);
    computeLoadCases(system, system.loadParameters, cases);
    AtcTable atc{};  // 50 MW nineteen hours in twenty, else nothing
    atc.mw[0] = 50.0f;
    atc.probability[0] = 0.95f;
    atc.probability[atcZeroImportRow - 1] = 0.05f;
    results::Recorder recorder;
    // What merge reads the tie from, as the direct solutions leave it.
    recorder.results.twoArea.push_back({atc, true, {}, {}, std::nullopt, {}});
    std::string answer = std::to_string(o.years) + "\n";
    std::FILE* in = fmemopen(answer.data(), answer.size(), "r");
    report::ConsoleInput input{in, "console input"};
    report::Channel console = report::captureChannel("console");
    report::Channel reportFile = report::captureChannel("report");
    SimulationContext context{units,     cases.at(0, cases.stepCount() / 2),
                              atc,       1.0f,
                              525600.0f, report::processorSeconds(),
                              77u,       false,
                              &recorder, o.firstYear};
    if (o.varying) {
        context.cases = &cases;
        context.maintenance = system.maintenance;
        context.weatherInTurn = o.inTurn;
    }
    EXPECT_EQ(runIndependent(context, o.threads, console, reportFile, input),
              SimulationOutcome::finished);
    std::fclose(in);
    return recorder.results;
}

json monteCarlo(const results::Results& r) { return results::monteCarloJson(*r.monteCarlo); }

// The simulated figures a plain run and a varying one share.
void expectSameFigures(const json& a, const json& b) {
    ASSERT_EQ(a["reports"].size(), b["reports"].size());
    for (std::size_t i = 0; i < a["reports"].size(); ++i)
        for (const char* key : {"years", "system", "area1", "tie"})
            EXPECT_EQ(a["reports"][i][key], b["reports"][i][key]) << key;
    EXPECT_EQ(a["by_month_hour"], b["by_month_hour"]);
    EXPECT_EQ(a["independent_years"], b["independent_years"]);
}

TEST(VaryingYears, IdenticalWeatherYearsGiveTheOneYearsFiguresInEitherOrder) {
    const json plain = monteCarlo(simulate(smallSystem(1, constant140), {.varying = false}));
    ASSERT_GT(plain["reports"].back()["system"]["lolh"]["estimate"].get<double>(), 30.0);
    for (bool inTurn : {false, true}) {
        const json three = monteCarlo(simulate(smallSystem(3, constant140), {.inTurn = inTurn}));
        expectSameFigures(plain, three);
        int years = 0;
        for (const json& w : three["variation"]["weather_years"]) years += w["years"].get<int>();
        EXPECT_EQ(years, 2000) << inTurn;
    }
}

// Weather year 2 weighs three times year 1: drawn, it takes 1500 of 2000
// years give or take 58 (three binomial standard deviations); in turn,
// exactly half.
TEST(VaryingYears, WeatherYearsAreDrawnWithTheirWeightsOrTakenInTurn) {
    StudySystem system = smallSystem(2, [](int w, int) { return w == 0 ? 120.0f : 150.0f; });
    system.weatherWeights = {0.25, 0.75};
    const json drawn = monteCarlo(simulate(system, {}));
    const int second = drawn["variation"]["weather_years"][1]["years"].get<int>();
    EXPECT_NEAR(second, 1500, 58);
    const json inTurn = monteCarlo(simulate(system, {.inTurn = true}));
    EXPECT_EQ(inTurn["variation"]["weather_years"][1]["years"].get<int>(), 1000);
    const json& w = inTurn["variation"]["weather_years"];
    EXPECT_LT(w[0]["system"]["lolh"]["mean"].get<double>(),
              w[1]["system"]["lolh"]["mean"].get<double>());
}

float days100To200(int, int h) { return h / 24 >= 99 && h / 24 < 200 ? 140.0f : 0.0f; }

// A unit out for maintenance through every hour with load is the unit
// with no MW at all: its own stream runs as before, so every other draw is
// the same. Unit 3 is in area 0, unit 0 in area 1.
TEST(VaryingYears, MaintenanceTakesTheUnitsMwOutForItsWindowsHours) {
    struct Case {
        int unit;
        std::vector<MaintenanceWindow> windows;
        float (*hourly)(int, int);
    };
    const std::vector<Case> cases = {
        {3, {{3, 1, 365}}, constant140},
        {0, {{0, 1, 365}}, constant140},
        {0, {{0, 1, 50}, {0, 51, 365}}, constant140},
        {3, {{3, 100, 200}}, days100To200},
        {0, {{0, 100, 200}}, days100To200},
    };
    for (const Case& c : cases) {
        StudySystem maintained = smallSystem(1, c.hourly);
        maintained.maintenance = c.windows;
        StudySystem without = smallSystem(1, c.hourly);
        UnitType none = without.types[static_cast<std::size_t>(without.unitTypes[c.unit])];
        none.pmaxMw = 0;
        none.deratedMw = 0;
        without.types.push_back(none);
        without.unitTypes[static_cast<std::size_t>(c.unit)] = 2;
        const json a = monteCarlo(simulate(maintained, {}));
        const json b = monteCarlo(simulate(without, {}));
        SCOPED_TRACE(c.unit);
        expectSameFigures(a, b);
        EXPECT_NE(
            a["reports"].back()["system"]["lolh"],
            monteCarlo(simulate(smallSystem(1, c.hourly), {}))["reports"].back()["system"]["lolh"]);
    }
}

float scaledDown(int, int) { return static_cast<float>(140.0 * 0.95); }
float scaledUp(int, int) { return static_cast<float>(140.0 * 1.05); }

// Two steps of a 10 % standard deviation are the loads at 0.95 and 1.05,
// each weighing a half: every year tested at both, with the same draws, is
// a run at each level, column for column; the weighted LOLH is their mean.
TEST(VaryingYears, ForecastStepsAreTheWeightedRunsAtEachLevel) {
    StudySystem stepped = smallSystem(1, constant140);
    stepped.forecast = ForecastUncertainty{10.0, 2};
    const json both = monteCarlo(simulate(stepped, {}));
    const json low = monteCarlo(simulate(smallSystem(1, scaledDown), {.varying = false}));
    const json high = monteCarlo(simulate(smallSystem(1, scaledUp), {.varying = false}));
    const json& steps = both["years"]["steps"];
    ASSERT_EQ(steps.size(), 2u);
    for (const char* area : {"system", "area1"}) {
        EXPECT_EQ(steps[0][area], low["years"][area]);
        EXPECT_EQ(steps[1][area], high["years"][area]);
        const double l = low["reports"].back()[area]["lolh"]["estimate"].get<double>();
        const double h = high["reports"].back()[area]["lolh"]["estimate"].get<double>();
        EXPECT_LE(l, h);
        if (std::string(area) == "system") {
            EXPECT_LT(l, h);
        }
        EXPECT_NEAR(both["reports"].back()[area]["lolh"]["estimate"].get<double>(),
                    0.5 * l + 0.5 * h, 1e-9 * h);
    }
    StudySystem none = smallSystem(1, constant140);
    none.forecast = ForecastUncertainty{0.0, 7};
    expectSameFigures(monteCarlo(simulate(smallSystem(1, constant140), {.varying = false})),
                      monteCarlo(simulate(none, {})));
}

StudySystem everyVariation() {
    StudySystem system =
        smallSystem(2, [](int w, int h) { return w == 0 ? 130.0f : 130.0f + h % 24; });
    system.maintenance = {{4, 30, 60}};
    system.forecast = ForecastUncertainty{4.0, 3};
    return system;
}

TEST(VaryingYears, FiguresAreTheSameOnOneThreadOrTwo) {
    const StudySystem system = everyVariation();
    EXPECT_EQ(results::resultsText(simulate(system, {.years = 3000, .threads = 1})),
              results::resultsText(simulate(system, {.years = 3000, .threads = 2})));
}

// Split at year 1201, weather years in turn or drawn: the merged file is the
// whole run's, byte for byte, with forecast steps too.
TEST(VaryingYears, SplitRunsOfWeatherYearsAndStepsMergeIntoTheWholeRun) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("varying-merge-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    auto write = [&](const std::string& name, const results::Results& r) {
        results::writeJsonFile((dir / name).string(), results::toJson(r));
        return (dir / name).string();
    };
    auto read = [](const std::string& path) {
        std::ifstream file(path);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    StudySystem withoutSteps = everyVariation();
    withoutSteps.forecast.reset();
    for (const auto& [system, inTurn] :
         {std::pair{withoutSteps, false}, std::pair{withoutSteps, true},
          std::pair{everyVariation(), false}}) {
        const std::string whole =
            write("whole.json", simulate(system, {.years = 2400, .inTurn = inTurn}));
        const std::string a = write("a.json", simulate(system, {.years = 1200, .inTurn = inTurn}));
        const std::string b =
            write("b.json", simulate(system, {.years = 1200, .firstYear = 1201, .inTurn = inTurn}));
        std::ostringstream errors;
        ASSERT_EQ(results::mergeResultsFiles({b, a}, (dir / "m.json").string(), errors), 0)
            << errors.str();
        EXPECT_EQ(read((dir / "m.json").string()), read(whole)) << inTurn;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace adequacy::independent
