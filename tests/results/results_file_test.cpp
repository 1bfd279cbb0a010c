// The results file of real runs against their report: every figure that the
// report shows, rendered from the file in the report's own fields, must be
// the report's line, in the report's order.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "e2e/program_run.hpp"
#include "report/layout.hpp"

namespace adequacy::testing {
namespace {

using nlohmann::json;

const std::string referenceDir = ADEQUACY_TEST_DATA;

// A run with --json results.json in its working directory.
struct ResultsRun {
    ProgramRun run;
    json results;
};

ResultsRun runWithResults(const std::string& input) {
    std::filesystem::path workDir;
    RunSetup setup;
    setup.args = {"--json", "results.json"};
    setup.prepare = [&workDir](const std::filesystem::path& dir) { workDir = dir; };
    StartedProgram program(input, setup);
    ResultsRun result{program.wait(), {}};
    result.results = json::parse(readFile((workDir / "results.json").string()));
    return result;
}

// An SD% the report shows as asterisks.
int sdOf(const json& value) { return value.is_null() ? 1000000 : value.get<int>(); }

void writeIndices(report::Channel& out, const json& e) {
    report::write(out, "(4F11.6)",
                  {e["lolh"].get<double>(), e["lole"].get<double>(), e["allr"].get<double>(),
                   e["alolp"].get<double>()});
    report::write(
        out, "(F11.5,F12.0,F10.5)",
        {e["mwh_eue"].get<double>(), e["mwh_total"].get<double>(), e["eue_ppm"].get<double>()});
    report::write(out, "('   RESERVE MARGIN =',F8.2,' %')",
                  {e["reserve_margin_percent"].get<double>()});
}

void writeArea(report::Channel& out, const json& area, const char* layout) {
    std::vector<report::Value> values;
    for (const char* index : {"lolh", "lole", "alolp", "mwh_eue"}) {
        values.emplace_back(area[index]["estimate"].get<double>());
        values.emplace_back(sdOf(area[index]["sd_percent"]));
    }
    report::write(
        out, layout,
        {values[0], values[1], values[2], values[3], values[4], values[5], values[6], values[7]});
}

// The report's lines that carry figures, as the results file gives them.
std::vector<std::string> expectedLines(const json& results) {
    report::Channel out = report::captureChannel("expected");
    for (const json& entry : results["single_area"]) writeIndices(out, entry);
    for (const json& entry : results["two_area"]) {
        if (entry["refused"].get<bool>()) continue;
        writeIndices(out, entry["area1"]);
        writeIndices(out, entry["area0"]);
    }
    for (const json& r : results["monte_carlo"]["reports"]) {
        writeArea(out, r["system"], "(F10.6, I3, 2(F11.6, I3), F10.3, I3, '  SA')");
        writeArea(out, r["area1"], "(F10.6, I3, 2(F11.6, I3), F10.3, I3, '  A1')");
        report::write(out, "(41X, F10.3, ' ppm A1')", {r["area1_eue_ppm"].get<double>()});
        for (const json& row : r["tie"]) {
            report::write(out, "(I3, F7.0, F8.4, F8.0, I4, F9.4)",
                          {row["row"].get<int>(), row["mw"].get<double>(),
                           row["probability"].get<double>(), row["limited_lol_hours"].get<double>(),
                           sdOf(row["sd_percent"]), row["share_of_hours"].get<double>()});
        }
        report::write(out, "(' min', I10, ' yrs')", {r["years"].get<int>()});
    }
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = out.captured.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        lines.push_back(out.captured.substr(start, end - start));
    return lines;
}

// Each line in turn, whole (the minutes line by its end), after the last.
void expectLinesInOrder(const std::string& report, const std::vector<std::string>& lines) {
    std::size_t at = 0;
    for (const std::string& line : lines) {
        const bool tail = line.starts_with(" min");
        const std::size_t found = report.find((tail ? "" : "\n") + line + "\r\n", at);
        ASSERT_NE(found, std::string::npos)
            << "not in the report after offset " << at << ": '" << line << "'";
        at = found + 1;
    }
}

double gridSum(const json& grid) {
    EXPECT_EQ(grid.size(), 12u);
    double sum = 0.0;
    for (const json& month : grid) {
        EXPECT_EQ(month.size(), 24u);
        for (const json& cell : month) sum += cell.get<double>();
    }
    return sum;
}

void expectGridsAddUpToTheLastReport(const json& results) {
    const json& monteCarlo = results["monte_carlo"];
    const json& last = monteCarlo["reports"].back();
    for (const char* area : {"system", "area1"}) {
        SCOPED_TRACE(area);
        const json& grids = monteCarlo["by_month_hour"][area];
        EXPECT_NEAR(gridSum(grids["lol_hours"]), last[area]["lolh"]["estimate"].get<double>(),
                    1e-12);
        const double eue = last[area]["mwh_eue"]["estimate"].get<double>();
        EXPECT_NEAR(gridSum(grids["unserved_mwh"]), eue, 1e-12 * eue);
    }
    const json& singleArea = results["single_area"].back();
    EXPECT_NEAR(gridSum(singleArea["by_month_hour"]["lol_hours"]), singleArea["lolh"].get<double>(),
                1e-12);
}

// The convergence points end where the last report stands, with its figures.
void expectConvergenceEndsAtTheLastReport(const json& results) {
    const json& convergence = results["monte_carlo"]["convergence"];
    const json& last = results["monte_carlo"]["reports"].back();
    ASSERT_FALSE(convergence.empty());
    EXPECT_EQ(convergence.front()["years"].get<int>(), 1000);
    EXPECT_EQ(convergence.back()["years"], last["years"]);
    for (std::size_t i = 1; i < convergence.size(); ++i)
        EXPECT_GT(convergence[i]["years"].get<int>(), convergence[i - 1]["years"].get<int>());
    for (const char* area : {"system", "area1"}) {
        for (const char* index : {"lolh", "mwh_eue"}) {
            EXPECT_EQ(convergence.back()[area][index]["estimate"], last[area][index]["estimate"]);
            EXPECT_EQ(convergence.back()[area][index]["standard_error"],
                      last[area][index]["standard_error"]);
        }
    }
}

TEST(ResultsFile, DefaultRunHoldsExactlyTheReportsFigures) {
    ResultsRun r = runWithResults(readFile(referenceDir + "/default-1000.in"));
    EXPECT_EQ(r.run.exitStatus, 0);
    // The option changes nothing else: console and report are the reference run's.
    EXPECT_EQ(maskTimes(r.run.console),
              maskTimes(readFile(referenceDir + "/default-1000.console")));
    EXPECT_EQ(maskTimes(r.run.report), maskTimes(readFile(referenceDir + "/default-1000.OP")));
    EXPECT_EQ(r.run.workFiles, (std::vector<std::string>{"OP", "results.json"}));

    const json& results = r.results;
    EXPECT_EQ(results["program"]["name"], "adequacy");
    EXPECT_EQ(results["system"]["source"], "built-in");
    EXPECT_EQ(results["system"]["units"], 110);
    EXPECT_EQ(results["system"]["capacity_mw"]["total"], 10703);
    EXPECT_EQ(results["system"]["capacity_mw"]["area1"].get<int>() +
                  results["system"]["capacity_mw"]["area0"].get<int>(),
              10703);
    EXPECT_EQ(results["single_area"].size(), 1u);
    EXPECT_EQ(results["single_area"][0]["load_parameters"]["D4"], 1424.0);
    EXPECT_EQ(results["two_area"].size(), 1u);
    EXPECT_EQ(results["two_area"][0]["atc"][0], json::array({300.0, 0.99f}));
    EXPECT_EQ(results["monte_carlo"]["seed"], 3);
    EXPECT_EQ(results["monte_carlo"]["years_requested"], 1000);
    ASSERT_EQ(results["monte_carlo"]["reports"].size(), 1u);
    expectLinesInOrder(r.run.report, expectedLines(results));
    expectGridsAddUpToTheLastReport(results);
    expectConvergenceEndsAtTheLastReport(results);
    // The interval is the estimate and 1.96 standard errors either side.
    const json& lolh = results["monte_carlo"]["reports"][0]["system"]["lolh"];
    const double se = lolh["standard_error"].get<double>();
    EXPECT_GT(se, 0.0);
    EXPECT_DOUBLE_EQ(lolh["ci95"][0].get<double>(), lolh["estimate"].get<double>() - 1.96 * se);
    EXPECT_DOUBLE_EQ(lolh["ci95"][1].get<double>(), lolh["estimate"].get<double>() + 1.96 * se);
}

TEST(ResultsFile, EveryPassOfTheDialogsAndEveryReportIsKept) {
    // New load parameters, a refused ATC table, another table, 1500 years.
    ResultsRun r =
        runWithResults("2100 8200 7100 1500/\n\n300 .9 200 .2\n250 .9 -250 1\n\n1500\n\n");
    EXPECT_EQ(r.run.exitStatus, 0);
    const json& results = r.results;
    ASSERT_EQ(results["single_area"].size(), 2u);
    EXPECT_EQ(results["single_area"][1]["load_parameters"]["D1"], 2100.0);
    ASSERT_EQ(results["two_area"].size(), 3u);
    EXPECT_FALSE(results["two_area"][0]["refused"].get<bool>());
    EXPECT_TRUE(results["two_area"][1]["refused"].get<bool>());
    EXPECT_FALSE(results["two_area"][1].contains("area1"));
    EXPECT_EQ(results["two_area"][2]["atc"][0], json::array({250.0, 0.9f}));
    ASSERT_EQ(results["monte_carlo"]["reports"].size(), 2u);
    EXPECT_EQ(results["monte_carlo"]["reports"][1]["years"], 1500);
    // Only the last single-area solution carries the month x hour figures.
    EXPECT_FALSE(results["single_area"][0].contains("by_month_hour"));
    expectLinesInOrder(r.run.report, expectedLines(results));
    expectGridsAddUpToTheLastReport(results);
    expectConvergenceEndsAtTheLastReport(results);
}

TEST(ResultsFile, AFileThatCannotBeMadeIsAFatalIoErrorBeforeTheReportIsOpened) {
    RunSetup setup;
    setup.args = {"--json", "missing/results.json"};
    ProgramRun run = runProgram("\n\n1000\n\n", setup);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.errors,
              "adequacy: I/O error on results file missing/results.json: cannot be created: No "
              "such file or directory\n");
    // Found before the report of an earlier run would have been emptied.
    EXPECT_FALSE(run.reportExists);
    EXPECT_TRUE(run.workFiles.empty());
}

void expectInterruptedRunComplete(const char* engine, int yearsAsked);

// Either engine; the independent one's workers never take the interrupt
// while the report and the results are written.
TEST(ResultsFile, AnInterruptedRunKeepsItsLastCompleteReport) {
    for (const auto& [engine, years] :
         {std::pair{"classic", 100000000}, {"independent", 10000000}}) {
        SCOPED_TRACE(engine);
        expectInterruptedRunComplete(engine, years);
    }
}

void expectInterruptedRunComplete(const char* engine, int yearsAsked) {
    std::filesystem::path workDir;
    RunSetup setup;
    setup.args = {"--json", "results.json", "--engine", engine};
    setup.prepare = [&workDir](const std::filesystem::path& dir) { workDir = dir; };
    StartedProgram program("\n\n" + std::to_string(yearsAsked) + "\n\n", setup);
    const std::filesystem::path path = workDir / "results.json";
    // The file is only ever whole: every read parses. Wait for the first report.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(8);
    while (true) {
        ASSERT_LT(std::chrono::steady_clock::now(), giveUp) << "no report reached the file";
        if (std::filesystem::exists(path)) {
            const json results = json::parse(readFile(path.string()));
            if (!results["monte_carlo"].is_null() && !results["monte_carlo"]["reports"].empty())
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    program.sendSignal(SIGINT);
    const json results = json::parse(readFile(path.string()));
    ProgramRun run = program.wait();
    EXPECT_EQ(run.exitStatus, 128 + SIGINT);
    // No temporary file is left behind.
    EXPECT_EQ(run.workFiles, (std::vector<std::string>{"OP", "results.json"}));
    const json last = json::parse(readFile(path.string()));
    EXPECT_GE(last["monte_carlo"]["reports"].size(), results["monte_carlo"]["reports"].size());
    EXPECT_EQ(last["monte_carlo"]["years_requested"], yearsAsked);
    // The file's last report is the report's last complete block.
    const int years = last["monte_carlo"]["reports"].back()["years"].get<int>();
    const std::size_t yrs = run.report.rfind(" yrs\r\n");
    ASSERT_NE(yrs, std::string::npos);
    EXPECT_EQ(std::stoi(run.report.substr(yrs - 10, 10)), years);
    expectLinesInOrder(run.report, expectedLines(last));
}

}  // namespace
}  // namespace adequacy::testing
