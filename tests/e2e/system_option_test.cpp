// --system FILE: a faulty file ends the run before anything is opened, with
// one line on standard error; a valid one is studied.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "e2e/program_run.hpp"
#include "system/system_faults.hpp"

namespace adequacy::testing {
namespace {

const std::string referenceDir = ADEQUACY_TEST_DATA;
const std::string examples = ADEQUACY_EXAMPLES;
const std::string previousReport = "the report of an earlier run\r\n";

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

ProgramRun runWithSystemFile(const std::string& systemText,
                             const std::function<void(const std::filesystem::path&)>& more = {}) {
    RunSetup setup;
    setup.args = {"--system", "system.toml"};
    setup.prepare = [&](const std::filesystem::path& dir) {
        writeFile(dir / "system.toml", systemText);
        writeFile(dir / "OP", previousReport);
        if (more) more(dir);
    };
    return runProgram("\n\n1000\n\n", setup);
}

void expectRefused(const ProgramRun& run, const std::string& message, const char* what) {
    EXPECT_EQ(run.exitStatus, 2) << what;
    EXPECT_EQ(run.errors, "adequacy: " + message + "\n") << what;
    EXPECT_EQ(run.console, "") << what;
    EXPECT_EQ(run.report, previousReport) << what;
}

TEST(SystemOption, EveryFaultEndsTheRunWithItsLineAndLeavesTheReportUntouched) {
    for (const Fault& fault : systemFileFaults) {
        ProgramRun run = runWithSystemFile(fault.text);
        const std::string expected = "system.toml:" + expectedMessage(fault, "");
        if (fault.prefixOnly) {
            EXPECT_EQ(run.exitStatus, 2) << fault.what;
            EXPECT_EQ(run.errors.rfind("adequacy: " + expected, 0), 0u) << fault.what;
            EXPECT_EQ(run.report, previousReport) << fault.what;
        } else {
            expectRefused(run, expected, fault.what);
        }
    }
}

TEST(SystemOption, FaultsOfTheFileItselfAndOfItsHourlyLoads) {
    RunSetup setup;
    setup.args = {"--system", "absent.toml"};
    setup.prepare = [](const std::filesystem::path& dir) { writeFile(dir / "OP", previousReport); };
    expectRefused(runProgram("", setup), "absent.toml: cannot open: No such file or directory",
                  "missing file");

    const std::string hourlySystem = withLine(12, "hourly = \"loads/year.csv\"");
    std::string shortYear = "total_mw,area1_mw\n";
    for (int row = 1; row <= 8000; ++row) shortYear += "150,50\n";
    ProgramRun run = runWithSystemFile(hourlySystem, [&](const std::filesystem::path& dir) {
        std::filesystem::create_directory(dir / "loads");
        writeFile(dir / "loads" / "year.csv", shortYear);
    });
    expectRefused(run, "loads/year.csv:8001: only 8000 data rows; a year needs exactly 8760",
                  "short year");
}

TEST(SystemOption, TheBuiltInSystemFromItsFileGivesTheDefaultRunByteForByte) {
    RunSetup setup;
    setup.args = {"--system", examples + "/builtin.toml"};
    ProgramRun run = runProgram(readFile(referenceDir + "/default-1000.in"), setup);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(maskTimes(run.console), maskTimes(readFile(referenceDir + "/default-1000.console")));
    EXPECT_EQ(maskTimes(run.report), maskTimes(readFile(referenceDir + "/default-1000.OP")));
}

}  // namespace
}  // namespace adequacy::testing
