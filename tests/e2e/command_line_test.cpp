// The command line: help, version and usage errors touch nothing; answers
// given as options make the same run as the same answers typed.

#include <gtest/gtest.h>

#include <fstream>

#include "e2e/program_run.hpp"

namespace adequacy::testing {
namespace {

const std::string referenceDir = ADEQUACY_TEST_DATA;
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
                                               {"--load", "2100\n8200"}}) {
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
