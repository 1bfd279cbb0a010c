// The command line: help, version and usage errors touch nothing; answers
// given as options make the same run as the same answers typed.

#include <gtest/gtest.h>

#include <fstream>

#include "e2e/program_run.hpp"

namespace adequacy::testing {
namespace {

const std::string referenceDir = ADEQUACY_TEST_DATA;
const std::string previousReport = "a report from an earlier run\r\n";

void writePreviousReport(const std::filesystem::path& dir) {
    std::ofstream(dir / "OP", std::ios::binary) << previousReport;
}

ProgramRun runWith(std::vector<std::string> args, const std::string& standardInput = "") {
    return runProgram(standardInput, RunSetup{.prepare = writePreviousReport, .args = args});
}

TEST(CommandLine, HelpAndVersionPrintAndTouchNothing) {
    for (const char* help : {"--help", "-h"}) {
        ProgramRun run = runWith({help}, "\n\n1000\n\n");
        EXPECT_EQ(run.exitStatus, 0) << help;
        EXPECT_EQ(run.errors, "");
        EXPECT_EQ(run.report, previousReport);
        for (const char* option :
             {"--load ANSWER", "--atc ANSWER", "--years ANSWER", "-o,--report FILE", "--seed N",
              "--quiet", "-h,--help", "--version", "Exit status:"})
            EXPECT_EQ(countOf(run.console, option), 1) << option << "\n" << run.console;
    }
    ProgramRun run = runWith({"--version"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.console, std::string("adequacy ") + ADEQUACY_VERSION + "\n");
    EXPECT_EQ(run.report, previousReport);
}

TEST(CommandLine, UsageErrorsExitWithTwoBeforeOpeningAnything) {
    const std::vector<std::vector<std::string>> badLines{
        {"--bogus"},     {"stray"},   {"--seed", "-1"},        {"--seed", "4294967296"},
        {"--seed", "x"}, {"--years"}, {"--load", "2100\n8200"}};
    for (const auto& args : badLines) {
        ProgramRun run = runWith(args, "\n\n1000\n\n");
        SCOPED_TRACE(args.front());
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.console, "");
        EXPECT_EQ(countOf(run.errors, "\n"), 1) << run.errors;
        EXPECT_NE(run.errors.find("--help"), std::string::npos);
        EXPECT_EQ(run.report, previousReport);
    }
}

// A run with answers as options and its twin with the answers typed.
struct Twins {
    std::vector<std::string> args;
    std::string standardInput;  // for the run with options
    std::string typed;
};

TEST(CommandLine, AnswersAsOptionsMakeTheSameRunAsTypedAnswers) {
    const std::vector<Twins> twins{
        {{"--years", "1000"}, "", "\n\n1000\n\n"},
        {{"--load", "2100 8200 7100 1500/", "--atc", "250 .9 -250 1", "--years", "999"},
         "",
         "2100 8200 7100 1500/\n\n250 .9 -250 1\n\n999\n"},
        // A refused table's prompt comes again and gets a blank line.
        {{"--atc", "300 .6 200 .6", "--years", "999"}, "", "\n300 .6 200 .6\n\n999\n"},
        // Unreadable answers end through the closing lines, without a wait.
        {{"--load", "9000 X", "--years", "1000"}, "", "9000 X\n\n"},
        {{"--atc", "x", "--years", "1000"}, "", "\nx\n\n"},
        // Without --years the other prompts are asked on the console.
        {{"--load", "9000/"}, "\n999\n", "9000/\n\n\n999\n"},
        {{"--atc", "300 1"}, "\n1000\n\n", "\n300 1\n\n1000\n\n"},
    };
    for (const Twins& pair : twins) {
        SCOPED_TRACE(pair.typed);
        ProgramRun withOptions = runWith(pair.args, pair.standardInput);
        ProgramRun typed = runProgram(pair.typed);
        EXPECT_EQ(withOptions.exitStatus, typed.exitStatus);
        EXPECT_EQ(withOptions.errors, "");
        EXPECT_EQ(maskTimes(withOptions.console), maskTimes(typed.console));
        EXPECT_EQ(maskTimes(withOptions.report), maskTimes(typed.report));
    }
}

TEST(CommandLine, AnAnswerAtTheYearsPromptThatRunsOutIsTheEndOfInput) {
    ProgramRun run = runWith({"--years", " "}, "1000\n\n");
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.errors, "adequacy: I/O error on answer of --years: end of input during a read\n");
    EXPECT_NE(run.report.find("AREA 0  A0  DIRECT SOLUTION TIME"), std::string::npos);
}

TEST(CommandLine, TheReportGoesToTheNamedFile) {
    ProgramRun run = runProgram("", RunSetup{.args = {"-o", "study.txt", "--years", "1000"}});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.workFiles, std::vector<std::string>{"study.txt"});
    std::string console = readFile(referenceDir + "/default-1000.console");
    console.replace(console.find("FILE OP "), 8, "FILE study.txt ");
    EXPECT_EQ(maskTimes(run.console), maskTimes(console));
}

TEST(CommandLine, ASeedChangesTheSimulationAndNothingBeforeIt) {
    const std::string reference = readFile(referenceDir + "/default-1000.OP");
    ProgramRun usual = runWith({"--seed", "3", "--years", "1000"});
    EXPECT_EQ(maskTimes(usual.report), maskTimes(reference));

    ProgramRun other = runWith({"--seed", "4294967295", "--years", "1000"});
    EXPECT_EQ(other.exitStatus, 0);
    EXPECT_EQ(maskTimes(other.console.substr(0, other.console.find("    LOLH   SD%"))),
              maskTimes(usual.console.substr(0, usual.console.find("    LOLH   SD%"))));
    const std::string seedLine = " RANDOM NUMBER SEED = 4294967295\r\n";
    const std::size_t monteCarlo = reference.find("  \r\n  \r\n  \r\n FD SEQUENTIAL MONTECARLO");
    ASSERT_NE(monteCarlo, std::string::npos);
    EXPECT_EQ(maskTimes(other.report.substr(0, monteCarlo + seedLine.size())),
              maskTimes(reference.substr(0, monteCarlo) + seedLine));
    const std::string estimates = "    LOLH   SD%    LOLE   SD%    ALOLP  SD%   MWHEUE SD%\r\n";
    const std::size_t at = reference.find(estimates) + estimates.size();
    EXPECT_NE(other.report.substr(at + seedLine.size(), 60), reference.substr(at, 60));
}

}  // namespace
}  // namespace adequacy::testing
