// The independent engine through the real program: its chains spend the
// long-run shares of the hours in their states and stay as long as their
// probabilities say, and its figures are the same for any number of threads.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "e2e/program_run.hpp"

namespace adequacy::testing {
namespace {

using nlohmann::json;

struct EngineRun {
    ProgramRun run;
    json results;
};

EngineRun runIndependent(const std::vector<std::string>& more, const std::string& system = "") {
    RunSetup setup;
    setup.args = {"--engine", "independent", "--json", "r.json", "--quiet"};
    setup.args.insert(setup.args.end(), more.begin(), more.end());
    std::filesystem::path workDir;
    setup.prepare = [&](const std::filesystem::path& dir) {
        workDir = dir;
        if (system.empty()) return;
        std::ofstream(dir / "s.toml") << system;
        std::ofstream csv(dir / "l.csv");
        for (int hour = 0; hour < 8760; ++hour) csv << "60,50\n";
    };
    StartedProgram program("", setup);
    EngineRun result{program.wait(), {}};
    EXPECT_EQ(result.run.exitStatus, 0) << result.run.errors;
    result.results = json::parse(readFile((workDir / "r.json").string()));
    return result;
}

// Area 1: a 100 MW unit, derated to 40 MW two hours in ten and out one in
// ten, repaired in 24 hours on average; area 0: 10 MW that never fail,
// carrying its own 10 MW, so nothing crosses the 50 MW tie. Both the system
// and area 1 are short three hours in ten, by 7 MW an hour on average; each
// outage is one loss-of-load event of 24 hours on average (a little less,
// as years cut them); the tie spends nine hours in ten in row 1.
const std::string derated = R"(
[[unit_type]]
pmax_mw = 100
derated_mw = 40
forced_outage_rate = 0.1
derated_probability = 0.2
mttr_days = 1
[[unit_type]]
pmax_mw = 10
derated_mw = 0
forced_outage_rate = 0.0
derated_probability = 0.0
mttr_days = 1
[area1]
units = [1]
[area0]
units = [2]
[loads]
hourly = "l.csv"
[[atc]]
mw = 50
probability = 0.9
)";

TEST(IndependentEngine, ChainsKeepTheirLongRunSharesAndSojournTimes) {
    const EngineRun r = runIndependent({"--system", "s.toml", "--years", "2000"}, derated);
    const json& report = r.results["monte_carlo"]["reports"].back();
    for (const char* area : {"system", "area1"}) {
        for (const auto& [index, exact] :
             {std::pair{"lolh", 0.3 * 8760}, {"mwh_eue", 7.0 * 8760}}) {
            const json& figure = report[area][index];
            EXPECT_LT(std::abs(figure["estimate"].get<double>() - exact),
                      3 * figure["standard_error"].get<double>())
                << area << " " << index;
        }
        const json& events = r.results["monte_carlo"]["independent_years"][area]["events"];
        EXPECT_NEAR(events["mean_hours"].get<double>(), 24.0 * 0.997, 24.0 * 0.02) << area;
    }
    const json& tie = report["tie"];
    ASSERT_EQ(tie.size(), 2u);
    EXPECT_NEAR(tie[0]["share_of_hours"].get<double>(), 0.9, 0.005);
    EXPECT_NEAR(tie[1]["share_of_hours"].get<double>(), 0.1, 0.005);
    EXPECT_EQ(tie[1]["row"].get<int>(), 11);
}

TEST(IndependentEngine, EveryFigureIsTheSameForAnyNumberOfThreads) {
    const EngineRun one = runIndependent({"--threads", "1", "--years", "2000"});
    EXPECT_NE(one.run.report.find(" INDEPENDENT YEARS ENGINE, RANDOM NUMBER SEED =          3"),
              std::string::npos);
    for (const char* threads : {"2", "3"}) {
        const EngineRun other = runIndependent({"--threads", threads, "--years", "2000"});
        EXPECT_EQ(other.results["monte_carlo"], one.results["monte_carlo"]) << threads;
        EXPECT_EQ(maskTimes(other.run.report), maskTimes(one.run.report)) << threads;
        EXPECT_EQ(maskTimes(other.run.console), maskTimes(one.run.console)) << threads;
    }
}

// Years simulated apart, put together, are the run over all of them, and
// what cannot be put together is refused with one line.
TEST(IndependentEngine, ARunSplitInTwoAndMergedIsTheRunOverAllItsYears) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("adequacy-merge-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    auto run = [&](std::vector<std::string> args) {
        RunSetup in{.workDirectory = dir, .args = std::move(args)};
        return runProgram("", in);
    };
    const std::vector<std::string> independent = {"--engine", "independent", "--quiet"};
    auto simulate = [&](const char* first, const char* years, const char* json,
                        const char* seed = "3") {
        std::vector<std::string> args = independent;
        args.insert(args.end(), {"--first-year", first, "--years", years, "--json", json, "--seed",
                                 seed, "-o", std::string(json) + ".op"});
        EXPECT_EQ(run(args).exitStatus, 0) << json;
    };
    simulate("1", "3000", "all.json");
    simulate("1001", "2000", "late.json");
    simulate("1", "1000", "early.json");
    simulate("2001", "1000", "overlap.json");
    simulate("3001", "1000", "other-seed.json", "4");
    // A file whose years lost one: its column no longer holds them.
    nlohmann::ordered_json cut =
        nlohmann::ordered_json::parse(readFile((dir / "late.json").string()));
    cut["monte_carlo"]["years"]["system"]["lol_hours"] = "1999*0";
    std::ofstream(dir / "short.json") << cut.dump();
    EXPECT_EQ(run({"merge", "late.json", "early.json", "-o", "merged.json"}).exitStatus, 0);
    EXPECT_EQ(readFile((dir / "merged.json").string()), readFile((dir / "all.json").string()));

    struct Refusal {
        std::vector<std::string> args;
        std::string message;
    };
    for (const Refusal& c : std::vector<Refusal>{
             {{"merge", "late.json", "overlap.json", "-o", "x.json"},
              "years 2001 to 3000 of overlap.json overlap years 1001 to 3000 of late.json"},
             {{"merge", "early.json", "other-seed.json", "-o", "x.json"},
              "other-seed.json: another seed than early.json"},
             {{"merge", "early.json", "late.json", "-o", "late.json"},
              "late.json: the merged file would replace late.json"},
             {{"merge", "early.json", "all.json.op", "-o", "x.json"},
              "all.json.op: not a results file (not JSON)"},
             {{"merge", "early.json", "short.json", "-o", "x.json"},
              "short.json: system: column lol_hours does not hold the years"}}) {
        const ProgramRun refused = run(c.args);
        EXPECT_EQ(refused.exitStatus, 2);
        EXPECT_EQ(refused.errors, "adequacy: merge: " + c.message + "\n");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "x.json"));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace adequacy::testing
