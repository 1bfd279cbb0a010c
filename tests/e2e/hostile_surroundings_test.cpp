// Surroundings that would lose the report or mix other text into it: closed
// standard streams, a second run in the same directory, a file-size limit,
// a full disk, too little memory, a terminal that has hung up, and where the
// scratch files go.

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "e2e/program_run.hpp"

namespace adequacy::testing {
namespace {

const std::string fullRun = "\n\n1000\n\n";

std::string reference() { return maskTimes(readFile(ADEQUACY_TEST_DATA "/default-1000.OP")); }

// The reference report's first block, the single-area solution.
std::string firstBlock() {
    const std::string end = "   RESERVE MARGIN =   13.57 %\r\n";
    const std::string report = reference();
    return report.substr(0, report.find(end) + end.size());
}

TEST(HostileSurroundings, AClosedStandardStreamNeverTakesTheReportsPlace) {
    ProgramRun noOutput = runProgram(fullRun, {.closedDescriptors = {1}});
    EXPECT_EQ(noOutput.exitStatus, 0);
    EXPECT_EQ(maskTimes(noOutput.report), reference());

    // A number of years that is not an integer: a message for standard error.
    ProgramRun withErrors = runProgram("\n\nabc\n");
    ProgramRun noErrors = runProgram("\n\nabc\n", {.closedDescriptors = {2}});
    EXPECT_EQ(noErrors.exitStatus, 2);
    EXPECT_NE(withErrors.errors, "");
    EXPECT_EQ(maskTimes(noErrors.report), maskTimes(withErrors.report));

    // No input at all: the end of input at the first prompt.
    ProgramRun noInput = runProgram(fullRun, {.closedDescriptors = {0}});
    EXPECT_EQ(noInput.exitStatus, 2);
    EXPECT_EQ(maskTimes(noInput.report), firstBlock());
}

TEST(HostileSurroundings, ASecondRunInTheSameDirectoryIsRefused) {
    StartedProgram first("\n\n1000\n", {.inputStaysOpen = true});
    ASSERT_TRUE(first.waitForConsole("PRESS ENTER TO END THIS PROGRAM"));
    const std::string before = readFile(first.reportPath().string());

    ProgramRun second = runProgram(fullRun, {.workDirectory = first.reportPath().parent_path()});
    EXPECT_EQ(second.exitStatus, 2);
    EXPECT_EQ(second.errors, "adequacy: report file OP is in use by another run\n");
    EXPECT_EQ(second.console, "");
    EXPECT_EQ(readFile(first.reportPath().string()), before);

    first.sendInput("\n");
    ProgramRun run = first.wait();
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(maskTimes(run.report), reference());
}

// The single-area block fits; the two-area block does not, and the part of
// it that went out is taken back.
void expectCutBackToFirstBlock(const ProgramRun& run, const std::string& reason) {
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.errors, "adequacy: I/O error on report file OP: write failed: " + reason + "\n");
    EXPECT_EQ(maskTimes(run.report), firstBlock());
}

TEST(HostileSurroundings, AFileSizeLimitLeavesTheReportAtItsLastCompleteBlock) {
    expectCutBackToFirstBlock(runProgram(fullRun, {.fileSizeLimit = 4000}), "File too large");
}

TEST(HostileSurroundings, AFullDiskLeavesTheReportAtItsLastCompleteBlock) {
    // A disk of one 4096-byte page, mounted where only this test sees it.
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        GTEST_SKIP() << "no mount namespace of the test's own: " << std::strerror(errno);
    const std::filesystem::path disk =
        std::filesystem::temp_directory_path() / ("adequacy-disk-" + std::to_string(::getpid()));
    std::filesystem::create_directory(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=4k") != 0) {
        std::filesystem::remove(disk);
        GTEST_SKIP() << "no small tmpfs can be mounted: " << std::strerror(errno);
    }
    ProgramRun run = runProgram(fullRun, {.workDirectory = disk});
    ::umount2(disk.c_str(), MNT_DETACH);
    std::filesystem::remove(disk);
    expectCutBackToFirstBlock(run, "No space left on device");
}

// The program's address space in bytes, from /proc.
long long mappedBytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmSize:")) return std::stoll(line.substr(7)) * 1024;
    return 0;
}

TEST(HostileSurroundings, RunningOutOfMemoryEndsTheRunWithAMessage) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer's allocator ends the run itself when memory runs out";
#endif
    StartedProgram program("", {.inputStaysOpen = true});
    ASSERT_TRUE(program.waitForConsole("OR RETURN TO CONTINUE"));
    // Room for small allocations only: the two-area solution needs more.
    const auto limit = static_cast<rlim_t>(mappedBytes(program.pid()) + 256 * 1024);
    const rlimit addressSpace{limit, limit};
    ASSERT_EQ(::prlimit(program.pid(), RLIMIT_AS, &addressSpace, nullptr), 0);
    program.sendInput("\n");
    ProgramRun run = program.wait();
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.errors, "adequacy: out of memory\n");
    EXPECT_EQ(maskTimes(run.report), firstBlock());
}

TEST(HostileSurroundings, TheDirectSolutionsOfAHugeSystemKeepAFewTables) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer's shadow memory does not fit a limit on address space";
#endif
    // Ten units of 1,000,000 MW: outage tables of 40 MB each.
    const std::string system =
        "[[unit_type]]\npmax_mw = 1000000\nderated_mw = 0\nforced_outage_rate = 0.2\n"
        "derated_probability = 0\nmttr_days = 5\n[area1]\nunits = [1]\nrepeat = 5\n"
        "[area0]\nunits = [1]\nrepeat = 5\n[loads]\nparameters = [1, 5000000, 1, 0, 1, "
        "2500000, 1]\n[[atc]]\nmw = 300000\nprobability = 0.99\n";
    StartedProgram program("", {.prepare =
                                    [&](const std::filesystem::path& dir) {
                                        std::ofstream(dir / "huge.toml") << system;
                                    },
                                .inputStaysOpen = true,
                                .args = {"--system", "huge.toml"}});
    ASSERT_TRUE(program.waitForConsole("OR RETURN TO CONTINUE"));
    // The tables are built: the two-area solutions may have ten more of them.
    const auto limit = static_cast<rlim_t>(mappedBytes(program.pid()) + (400 << 20));
    const rlimit addressSpace{limit, limit};
    ASSERT_EQ(::prlimit(program.pid(), RLIMIT_AS, &addressSpace, nullptr), 0);
    program.sendInput("\n\n999\n");
    ProgramRun run = program.wait();
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.errors, "");
    EXPECT_NE(run.report.find(" AREA 0  A0  DIRECT SOLUTION TIME = "), std::string::npos);
}

TEST(HostileSurroundings, AConsoleTerminalThatHasHungUpIsAFatalError) {
    ProgramRun run = runProgram(fullRun, {.hungUpTerminal = true});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.errors,
              "adequacy: I/O error on console output: write failed: Input/output error\n");
    EXPECT_EQ(maskTimes(run.report), firstBlock());
}

// How many of the program's open files lie in `directory`.
int openFilesIn(pid_t pid, const std::filesystem::path& directory) {
    int count = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd")) {
        std::error_code ignored;
        if (std::filesystem::read_symlink(entry, ignored)
                .string()
                .starts_with(directory.string() + "/"))
            ++count;
    }
    return count;
}

TEST(HostileSurroundings, ScratchFilesAreMadeInTmpdir) {
    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / ("adequacy-tmp-" + std::to_string(::getpid()));
    std::filesystem::create_directory(scratch);
    StartedProgram program("\n\n",
                           {.environment = {"TMPDIR=" + scratch.string()}, .inputStaysOpen = true});
    ASSERT_TRUE(program.waitForConsole("NUMBER OF MONTECARLO ITERATIONS?"));
    EXPECT_EQ(openFilesIn(program.pid(), scratch), 3);
    program.sendInput("1000\n\n");
    ProgramRun run = program.wait();
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(maskTimes(run.report), reference());
    EXPECT_TRUE(std::filesystem::is_empty(scratch));

    const std::pair<std::string, std::string> unusable[] = {
        {(scratch / "missing").string(), "No such file or directory"},
        {ADEQUACY_TEST_DATA "/default-1000.in", "Not a directory"}};
    for (const auto& [directory, reason] : unusable) {
        SCOPED_TRACE(directory);
        ProgramRun failed = runProgram(fullRun, {.environment = {"TMPDIR=" + directory}});
        EXPECT_EQ(failed.exitStatus, 2);
        EXPECT_EQ(failed.errors, "adequacy: I/O error on scratch file 5: cannot be opened in " +
                                     directory + ": " + reason + "\n");
        EXPECT_TRUE(failed.report.ends_with("   RESERVE MARGIN =   11.53 %\r\n"));
    }
    std::filesystem::remove_all(scratch);
}

}  // namespace
}  // namespace adequacy::testing
