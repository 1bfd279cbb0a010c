// The ways a run can end other than the normal one, each with its exit
// status and with the report holding every line written before the end.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include "e2e/program_run.hpp"

namespace adequacy::testing {
namespace {

const std::string referenceDir = ADEQUACY_TEST_DATA;
const std::string hyphens = " " + std::string(57, '-') + "\r\n";
const std::string singleAreaEnd = "   RESERVE MARGIN =   13.57 %\r\n";
const std::string twoAreaEnd = "   RESERVE MARGIN =   11.53 %\r\n";
const std::string setUpEnd = " GENERATION   MTTR =   28.375 DAYS\r\n" + hyphens;
const std::string firstBlockEnd = "      1000 yrs\r\n" + hyphens;
const std::string endSequence =
    "  \r\n FILE OP CONTAINS THE OUTPUT REPORT\r\n PRESS ENTER TO END THIS PROGRAM\r\n";
const std::string endOfInput = "adequacy: I/O error on console input: end of input during a read\n";

struct ExitPath {
    const char* what;
    std::string input;
    int status;
    std::string reportEnd;
    std::string consoleEnd;
    std::string errors;
};

TEST(ExitPaths, EveryReadThatEndsTheRunLeavesTheReportComplete) {
    const ExitPath paths[] = {
        {"end of input at the load dialog", "", 2, singleAreaEnd, " OR RETURN TO CONTINUE\r\n",
         endOfInput},
        {"end of input at the ATC dialog", "\n", 2, twoAreaEnd,
         " ENTER NEW ATC MW,PR PAIRS OR RETURN TO CONTINUE\r\n", endOfInput},
        {"end of input at the years prompt, after an empty line", "\n\n\n", 2, setUpEnd,
         " NUMBER OF MONTECARLO ITERATIONS?\r\n", endOfInput},
        {"end of input at the final Enter", "\n\n1000\n", 0, firstBlockEnd, endSequence, ""},
        {"two signs before the number of years", "\n\n+-5\n\n", 2, setUpEnd,
         " NUMBER OF MONTECARLO ITERATIONS?\r\n",
         "adequacy: I/O error on console input: conversion error: the answer is not an "
         "integer\n"},
        {"unreadable load answer", "9000 X\n\n", 1, singleAreaEnd, endSequence,
         "adequacy: load parameters: cannot read \"9000 X\" as numbers\n"},
        {"unreadable load answer, then the end of input at the final Enter", "x\n", 1,
         singleAreaEnd, endSequence, "adequacy: load parameters: cannot read \"x\" as numbers\n"},
        {"unreadable ATC answer", "\n1 2 x\n\n", 1, twoAreaEnd, endSequence,
         "adequacy: ATC pairs: cannot read \"1 2 x\" as numbers\n"},
    };
    for (const ExitPath& path : paths) {
        SCOPED_TRACE(path.what);
        ProgramRun run = runProgram(path.input);
        EXPECT_EQ(run.exitStatus, path.status);
        EXPECT_EQ(run.errors, path.errors);
        EXPECT_TRUE(run.report.ends_with(path.reportEnd))
            << run.report.substr(run.report.size() - std::min<std::size_t>(run.report.size(), 200));
        EXPECT_TRUE(run.console.ends_with(path.consoleEnd));
        // Every line written is in the report, and none of a later phase.
        if (path.reportEnd == firstBlockEnd) {
            EXPECT_EQ(maskTimes(run.report),
                      maskTimes(readFile(referenceDir + "/default-1000.OP")));
        } else {
            EXPECT_EQ(countOf(run.report, "yrs\r\n"), 0);
        }
        if (path.reportEnd == singleAreaEnd) {
            EXPECT_EQ(countOf(run.report, "2 AREA INTERCONNECTION"), 0);
        }
    }
}

bool runningAsRoot() { return ::geteuid() == 0; }

TEST(ExitPaths, AReportFileThatCannotBeCreatedIsAFatalError) {
    struct Obstacle {
        const char* what;
        std::function<void(const std::filesystem::path&)> prepare;
        std::string failure;
    };
    std::vector<Obstacle> obstacles{
        {"a directory named OP",
         [](const std::filesystem::path& dir) { std::filesystem::create_directory(dir / "OP"); },
         "Is a directory"}};
    // The superuser writes into read-only directories.
    if (!runningAsRoot())
        obstacles.push_back({"a read-only directory",
                             [](const std::filesystem::path& dir) { ::chmod(dir.c_str(), 0555); },
                             "Permission denied"});
    for (const Obstacle& obstacle : obstacles) {
        SCOPED_TRACE(obstacle.what);
        ProgramRun run = runProgram("\n\n1000\n\n", RunSetup{.prepare = obstacle.prepare});
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.errors, "adequacy: I/O error on report file OP: cannot create: " +
                                  obstacle.failure + "\n");
        EXPECT_EQ(run.console, "");
        EXPECT_FALSE(run.reportExists);
    }
}

TEST(ExitPaths, AScratchFileThatCannotBeOpenedIsAFatalError) {
    // Standard input, output, error and the report take the only descriptors
    // the program may have, so the first scratch file cannot be opened.
    ProgramRun run = runProgram("\n\n1000\n\n", RunSetup{.openFileLimit = 4});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errors.find("adequacy: I/O error on scratch file 5: cannot be opened"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(countOf(run.errors, "\n"), 1);
    EXPECT_TRUE(run.report.ends_with(twoAreaEnd));
    EXPECT_EQ(run.console.find("NUMBER OF MONTECARLO ITERATIONS?"), std::string::npos);
}

TEST(ExitPaths, AConsoleThatCannotBeWrittenIsAFatalError) {
    ProgramRun run = runProgram("\n\n1000\n\n", RunSetup{.consolePath = "/dev/full"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.errors,
              "adequacy: I/O error on console output: write failed: No space left on device\n");
    // The first prompt cannot be shown: the run ends before its answer is read.
    EXPECT_TRUE(run.report.ends_with(singleAreaEnd));
    EXPECT_EQ(countOf(run.report, "2 AREA INTERCONNECTION"), 0);
}

// The report as it stands on disk: the lines of every block flushed so far.
bool holdsFirstBlock(const std::filesystem::path& report) {
    std::ifstream in(report, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return text.find(firstBlockEnd) != std::string::npos;
}

TEST(ExitPaths, AnInterruptKeepsEveryReportBlockWrittenBeforeIt) {
    const std::string reference = maskTimes(readFile(referenceDir + "/default-1000.OP"));
    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal == SIGINT ? "SIGINT" : "SIGTERM");
        StartedProgram program("\n\n100000000\n\n");
        // Guards against a hang only; the first block normally comes in seconds.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(8);
        while (!holdsFirstBlock(program.reportPath())) {
            ASSERT_LT(std::chrono::steady_clock::now(), giveUp) << "no report block appeared";
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        program.sendSignal(signal);
        ProgramRun run = program.wait();
        EXPECT_EQ(run.exitStatus, 128 + signal);
        EXPECT_EQ(run.errors,
                  signal == SIGINT ? "adequacy: interrupted\n" : "adequacy: terminated\n");
        // The report is the 1000-year run's, perhaps followed by the next
        // block, and ends with a complete block.
        std::string report = maskTimes(run.report);
        EXPECT_EQ(report.substr(0, reference.size()), reference);
        EXPECT_TRUE(report.ends_with(hyphens));
        EXPECT_LE(countOf(report, " yrs\r\n"), 2);
        EXPECT_EQ(countOf(report, " yrs\r\n"), countOf(report, hyphens) - 1);
        // The scratch files had no name, and leave nothing behind.
        EXPECT_EQ(run.workFiles, std::vector<std::string>{"OP"});
    }
}

}  // namespace
}  // namespace adequacy::testing
