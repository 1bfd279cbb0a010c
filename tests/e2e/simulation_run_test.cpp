// The simulation phase as the user meets it: the number of years, the
// report points and the end of the run.

#include <gtest/gtest.h>

#include "e2e/program_run.hpp"

namespace adequacy::testing {
namespace {

// The Monte Carlo report blocks of a report file, each from its heading to
// its closing hyphens.
std::vector<std::string> reportBlocks(const std::string& report) {
    const std::string heading = "    LOLH   SD%    LOLE   SD%    ALOLP  SD%   MWHEUE SD%\r\n";
    const std::string closing = " " + std::string(57, '-') + "\r\n";
    std::vector<std::string> blocks;
    for (std::size_t at = report.find(heading); at != std::string::npos;
         at = report.find(heading, at + 1)) {
        std::size_t end = report.find(closing, at);
        blocks.push_back(
            report.substr(at, end == std::string::npos ? end : end + closing.size() - at));
    }
    return blocks;
}

TEST(SimulationRun, FewerThanAThousandYearsStopSilently) {
    for (const char* years : {"999", "0", "-5", ","}) {
        ProgramRun run = runProgram(std::string("\n\n") + years + "\n\n");
        EXPECT_EQ(run.exitStatus, 0) << years;
        EXPECT_TRUE(run.console.ends_with(" NUMBER OF MONTECARLO ITERATIONS?\r\n")) << years;
        EXPECT_TRUE(reportBlocks(run.report).empty()) << years;
        EXPECT_TRUE(run.report.ends_with(" " + std::string(57, '-') + "\r\n")) << years;
    }
}

TEST(SimulationRun, EmptyLinesBeforeTheNumberAreReadPast) {
    ProgramRun run = runProgram("\n\n\n\n999\n");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.errors, "");
}

TEST(SimulationRun, ANumberThatIsNotAnIntegerIsAFatalError) {
    ProgramRun run = runProgram("\n\n1000.5\n\n");
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errors.find("console input"), std::string::npos);
    EXPECT_TRUE(reportBlocks(run.report).empty());
}

TEST(SimulationRun, ReportsAfterAThousandYearsAndAfterTheLast) {
    ProgramRun run = runProgram("\n\n1500\n\n");
    EXPECT_EQ(run.exitStatus, 0);
    std::vector<std::string> blocks = reportBlocks(run.report);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_NE(blocks[0].find("      1000 yrs"), std::string::npos);
    EXPECT_NE(blocks[1].find("      1500 yrs"), std::string::npos);
    EXPECT_EQ(countOf(run.console, " yrs\r\n"), 2);
    EXPECT_TRUE(run.console.ends_with(" PRESS ENTER TO END THIS PROGRAM\r\n"));
}

TEST(SimulationRun, AnIntermediateReportDoesNotDisturbTheSimulation) {
    ProgramRun thousand = runProgram("\n\n1000\n\n");
    ProgramRun longer = runProgram("\n\n10000\n\n");
    std::vector<std::string> short_ = reportBlocks(thousand.report);
    std::vector<std::string> long_ = reportBlocks(longer.report);
    ASSERT_EQ(short_.size(), 1u);
    ASSERT_EQ(long_.size(), 2u);
    EXPECT_EQ(maskTimes(short_[0]), maskTimes(long_[0]));
    EXPECT_NE(long_[1].find("     10000 yrs"), std::string::npos);
}

TEST(SimulationRun, AChangedTieTableDrivesTheSimulation) {
    // One import row of 250 MW with probability 0.9: the tie spends about a
    // tenth of its hours in the zero-import state (row 11).
    ProgramRun run = runProgram("\n250 .9 -250 1\n\n1000\n\n");
    EXPECT_EQ(run.exitStatus, 0);
    std::vector<std::string> blocks = reportBlocks(run.report);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_NE(blocks[0].find("\r\n  1   250.  0.9000"), std::string::npos);
    EXPECT_NE(blocks[0].find("\r\n 11     0.  0.1000"), std::string::npos);
    EXPECT_EQ(blocks[0].find("\r\n  2 "), std::string::npos);
}

}  // namespace
}  // namespace adequacy::testing
