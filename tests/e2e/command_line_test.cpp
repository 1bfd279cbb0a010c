// The command line: help, version and usage errors touch nothing; answers
// given as options make the same run as the same answers typed.

#include <gtest/gtest.h>

#include <fstream>

#include "e2e/program_run.hpp"

namespace adequacy::testing {
namespace {

const std::string referenceDir = ADEQUACY_TEST_DATA;
const std::string examples = ADEQUACY_EXAMPLES;
const std::string earlierReport = "a report from an earlier run\r\n";

ProgramRun runWith(std::vector<std::string> args, const std::string& standardInput = "") {
    auto writeEarlierReport = [](const std::filesystem::path& dir) {
        std::ofstream(dir / "OP", std::ios::binary) << earlierReport;
    };
    return runProgram(standardInput, RunSetup{.prepare = writeEarlierReport, .args = args});
}

TEST(CommandLine, HelpVersionAndUsageErrorsTouchNothing) {
    for (const char* help : {"--help", "-h"}) {
        ProgramRun run = runWith({help}, "\n\n1000\n\n");
        EXPECT_EQ(run.exitStatus, 0);
        for (const char* option : {"--load ANSWER", "--atc ANSWER", "--years ANSWER",
                                   "-o,--report FILE", "--seed N", "--quiet", "Exit status:"})
            EXPECT_EQ(countOf(run.console, option), 1) << option;
        EXPECT_EQ(run.report, earlierReport);
    }
    ProgramRun version = runWith({"--version"});
    EXPECT_EQ(version.console, std::string("adequacy ") + ADEQUACY_VERSION + "\n");
    EXPECT_EQ(version.report, earlierReport);
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--bogus"},
                                               {"stray"},
                                               {"--seed", "-1"},
                                               {"--seed", "4294967296"},
                                               {"--years"},
                                               {"-o", ""},
                                               {"--load", "2100\n8200"},
                                               {"--weather", "in-turn"},
                                               {"--engine", "independent", "--weather", "x"}}) {
        ProgramRun run = runWith(args, "\n\n1000\n\n");
        EXPECT_EQ(run.exitStatus, 2) << args.front();
        EXPECT_EQ(run.console, "");
        EXPECT_EQ(countOf(run.errors, "\n"), 1);
        EXPECT_NE(run.errors.find("--help"), std::string::npos);
        EXPECT_EQ(run.report, earlierReport);
    }
}

TEST(CommandLine, AnswersAsOptionsMakeTheSameRunAsTypedAnswers) {
    struct Twins {
        std::vector<std::string> args;
        std::string standardInput;  // for the run with options
        std::string typed;
    };
    for (const Twins& twins : std::vector<Twins>{
             {{"--years", "1000"}, "", "\n\n1000\n\n"},
             {{"--load", "2100 8200 7100 1500/", "--atc", "250 .9 -250 1", "--years", "999"},
              "",
              "2100 8200 7100 1500/\n\n250 .9 -250 1\n\n999\n"},
             {{"--load", "9000 X", "--years", "1000"}, "", "9000 X\n\n"},
             {{"--load", "9000/"}, "\n999\n", "9000/\n\n\n999\n"},
             {{"--atc", "300 1"}, "\n1000\n\n", "\n300 1\n\n1000\n\n"}}) {
        ProgramRun withOptions = runWith(twins.args, twins.standardInput);
        ProgramRun typed = runProgram(twins.typed);
        EXPECT_EQ(withOptions.exitStatus, typed.exitStatus) << twins.typed;
        EXPECT_EQ(withOptions.errors, typed.errors) << twins.typed;
        EXPECT_EQ(maskTimes(withOptions.console), maskTimes(typed.console)) << twins.typed;
        EXPECT_EQ(maskTimes(withOptions.report), maskTimes(typed.report)) << twins.typed;
    }
    // Unattended, a years answer must be the number itself.
    ProgramRun blank = runWith({"--years", " "}, "1000\n\n");
    EXPECT_EQ(blank.errors,
              "adequacy: --years: \" \" is not a whole number written in digits, as 100000\n");
}

// With any answer given as an option nobody watches the prompts: what a
// person would have seen refused, cut short or partly ignored is a usage
// error, before anything is opened. Typed, the same answers keep their ways.
TEST(CommandLine, AnswersAPersonWouldHaveSeenRefusedEndTheRunBeforeItStarts) {
    const std::string firstRow =
        "--atc: the first row must be an import row (MW above 0) with a probability above 0: the "
        "simulated tie spends its normal hours in row 1, whatever it holds";
    struct Refusal {
        std::vector<std::string> args;
        std::string message;
    };
    for (const Refusal& c : std::vector<Refusal>{
             {{"--atc", "300 .6 200 .6", "--years", "1000"},
              "--atc: the import rows' (MW above 0) probabilities add up to more than 1"},
             {{"--atc", "300 1 -300 .6 -200 .6"},
              "--atc: the export rows' (MW below 0) probabilities add up to more than 1"},
             {{"--atc", "300 -0.5 -300 1", "--years", "1000"},
              "--atc: row 1 has a probability below 0"},
             {{"--atc", "-300 1 300 .99 200 .01", "--years", "1000"}, firstRow},
             {{"--atc", "300 0 200 1", "--years", "1000"}, firstRow},
             {{"--atc", "300 .99 200 .01 -300 1" + std::string(40, ' ') + "100 0"},
              "--atc: only the first 60 characters are read, and the answer goes on beyond them"},
             {{"--atc", "21*1"},
              "--atc: 21 values given; only 20 are read (10 rows of MW and probability)"},
             {{"--atc", "1e39 1"}, "--atc: row 1 holds a value beyond single precision"},
             {{"--load", "1e39/", "--years", "1000"}, "--load: D1 is beyond single precision"},
             {{"--load", " 9000 ", "--years", "1000"},
              "--load: 1 of 7 values given and no slash: end the answer with a slash to keep the "
              "rest, as in \"9000/\""},
             {{"--load", "8*1"}, "--load: 8 values given; only 7 are read (D1 to D7)"},
             {{"--load", "9000/" + std::string(95, ' ') + "5"},
              "--load: only the first 100 characters are read, and the answer goes on beyond "
              "them"},
             {{"--load", ",,,-2000/"},
              "--load: these parameters give day 11 hour 1: a whole-system load of -880 MW, "
              "below 0"},
             {{"--load", ",,,,5000/"},
              "--load: these parameters give day 11 hour 1: an area-1 load of 2800 MW, above the "
              "whole system's 2544 MW, which includes it"},
             {{"--system", examples + "/hourly.toml", "--load", "9000/"},
              "--load: the system's loads are given hour by hour (hourly_loads.csv): there are no "
              "load parameters to set"},
             {{"--years", "100,000"},
              "--years: \"100,000\" is not a whole number written in digits, as 100000"},
             {{"--years", "1e5"},
              "--years: \"1e5\" is not a whole number written in digits, as 100000"},
             {{"--years", "2147483648"},
              "--years: 2147483648 is out of range (at most 2147483647)"},
             {{"--engine", "independent", "--years", "10000001"},
              "--years: the independent engine simulates at most 10000000 years a run; put longer "
              "runs together from runs of disjoint years (--first-year, adequacy merge)"}}) {
        ProgramRun run = runWith(c.args, "\n\n1000\n\n");
        EXPECT_EQ(run.exitStatus, 2) << c.message;
        EXPECT_EQ(run.errors, "adequacy: " + c.message + "\n");
        EXPECT_EQ(run.console, "") << c.message;
        EXPECT_EQ(run.report, earlierReport) << c.message;
    }
    // At the prompt the refused table is shown as refused and the run goes on.
    ProgramRun typed = runProgram("\n300 .6 200 .6\n\n1000\n\n");
    EXPECT_EQ(typed.exitStatus, 0);
    EXPECT_EQ(countOf(typed.report, "WARNING, ATC IMPORT PROBABILITY ERROR, TRY AGAIN"), 1);
}

TEST(CommandLine, TheReportGoesToTheNamedFile) {
    ProgramRun run = runProgram("", RunSetup{.args = {"-o", "study.txt", "--years", "1000"}});
    EXPECT_EQ(run.workFiles, std::vector<std::string>{"study.txt"});
    std::string console = readFile(referenceDir + "/default-1000.console");
    console.replace(console.find("FILE OP "), 8, "FILE study.txt ");
    EXPECT_EQ(maskTimes(run.console), maskTimes(console));
}

TEST(CommandLine, ASeedChangesTheSimulationAndNothingBeforeIt) {
    const std::string reference = readFile(referenceDir + "/default-1000.OP");
    EXPECT_EQ(maskTimes(runWith({"--seed", "3", "--years", "1000"}).report), maskTimes(reference));
    ProgramRun other = runWith({"--seed", "4294967295", "--years", "1000"});
    const std::string seedLine = " RANDOM NUMBER SEED = 4294967295\r\n";
    const std::size_t monteCarlo = reference.find("  \r\n  \r\n  \r\n FD SEQUENTIAL MONTECARLO");
    EXPECT_EQ(maskTimes(other.report.substr(0, monteCarlo + seedLine.size())),
              maskTimes(reference.substr(0, monteCarlo) + seedLine));
    const std::string estimates = "    LOLH   SD%    LOLE   SD%    ALOLP  SD%   MWHEUE SD%\r\n";
    const std::size_t at = reference.find(estimates) + estimates.size();
    EXPECT_NE(other.report.substr(at + seedLine.size(), 60), reference.substr(at, 60));
}

}  // namespace
}  // namespace adequacy::testing
