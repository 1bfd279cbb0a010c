// The whole program, run as a user runs it, against the independently
// computed default run and through its dialogs.

#include <gtest/gtest.h>

#include "e2e/program_run.hpp"

namespace adequacy::testing {
namespace {

const std::string referenceDir = ADEQUACY_TEST_DATA;

TEST(DefaultRun, MatchesTheReferenceRunByteForByte) {
    ProgramRun run = runProgram(readFile(referenceDir + "/default-1000.in"));
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(maskTimes(run.console), maskTimes(readFile(referenceDir + "/default-1000.console")));
    EXPECT_EQ(maskTimes(run.report), maskTimes(readFile(referenceDir + "/default-1000.OP")));
}

TEST(DefaultRun, MaskingHidesOnlyTheProcessorTimes) {
    std::string reference = readFile(referenceDir + "/default-1000.OP");
    std::string masked = maskTimes(reference);
    EXPECT_EQ(countOf(masked, "=##### SEC") + countOf(masked, "= ##### SEC"), 3);
    EXPECT_EQ(masked.size(), reference.size());
    EXPECT_NE(masked.find(" SINGLE AREA SA DIRECT SOLUTN TIME =##### SEC"), std::string::npos);
    EXPECT_NE(masked.find("\n########## min      1000 yrs"), std::string::npos);
}

TEST(LoadDialog, NewParametersRecomputeAndReportAgain) {
    ProgramRun run = runProgram("9000/\n\n\n999\n");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(countOf(run.report, "TOTAL SYSTEM HOURLY LOADS:"), 2);
    EXPECT_EQ(countOf(run.report, "SINGLE AREA SA DIRECT SOLUTN TIME ="), 2);
    EXPECT_NE(run.report.find(" D1 MIN, D2 WIN, D3 SUM, D4 ADD =   9000   8000   7000   1424\r\n"),
              std::string::npos);
    EXPECT_EQ(countOf(run.console, "ENTER NEW D1,D2,D3,D4 total area, D5,D6,D7 area 1"), 2);
    // The second pass's report starts right after the first pass's reserve margin.
    EXPECT_NE(
        run.report.find("   RESERVE MARGIN =   13.57 %\r\n  \r\n  TOTAL SYSTEM HOURLY LOADS:"),
        std::string::npos);
}

TEST(LoadDialog, ValuesWithFractionsEchoTheirIntegerParts) {
    ProgramRun run = runProgram("2000.9,8000,7000,1424.5,300,700,846\n\n\n999\n");
    EXPECT_NE(run.report.find(" D1 MIN, D2 WIN, D3 SUM, D4 ADD =   2000   8000   7000   1424\r\n"),
              std::string::npos);
    EXPECT_NE(run.report.find(" 12  9425.  0.0"), std::string::npos);  // 9424.5 rounds away
}

TEST(LoadDialog, TooFewValuesEndWithTheEndOfInputError) {
    ProgramRun run = runProgram("9000\n\n\n1000\n\n");
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errors.find("end of input"), std::string::npos);
    EXPECT_EQ(run.console.find("FILE OP CONTAINS THE OUTPUT REPORT"), std::string::npos);
    // The report holds the first pass, complete.
    EXPECT_EQ(run.report.substr(run.report.size() - 31), "   RESERVE MARGIN =   13.57 %\r\n");
}

TEST(Dialogs, UnreadableAnswersRunTheEndSequence) {
    for (const char* input : {"9000 X\n\n", "x\n\n", "\n300 X\n\n", "\nx\n\n"}) {
        ProgramRun run = runProgram(input);
        EXPECT_EQ(run.exitStatus, 1) << input;
        EXPECT_TRUE(run.console.ends_with(
            "  \r\n FILE OP CONTAINS THE OUTPUT REPORT\r\n PRESS ENTER TO END THIS PROGRAM\r\n"))
            << input;
        EXPECT_EQ(run.report.find("FD SEQUENTIAL MONTECARLO SOLUTION"), std::string::npos);
        EXPECT_EQ(run.console.find("NUMBER OF MONTECARLO ITERATIONS?"), std::string::npos);
    }
}

TEST(AtcDialog, ANewTableIsPrintedAndSolved) {
    ProgramRun run = runProgram("\n300 1\n\n999\n");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(countOf(run.report, "2 AREA INTERCONNECTION"), 2);
    EXPECT_NE(
        run.console.find("     300    1.00000\r\n      +0    0.00000\r\n      -0    1.00000\r\n"),
        std::string::npos);
    EXPECT_NE(run.console.find("   0.455915   0.119910     11.193\r\n"), std::string::npos);
    EXPECT_NE(run.console.find("   0.792825   0.335028      4.727\r\n"), std::string::npos);
}

TEST(AtcDialog, ARefusedTableIsWarnedInTheReportOnly) {
    ProgramRun run = runProgram("\n300 .6 200 .6\n\n999\n");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(countOf(run.report, " WARNING, ATC IMPORT PROBABILITY ERROR, TRY AGAIN\r\n"), 1);
    EXPECT_EQ(run.console.find("WARNING"), std::string::npos);
    EXPECT_EQ(countOf(run.report, "AREA 1  A1  DIRECT SOLUTION TIME"), 1);
    EXPECT_EQ(countOf(run.console, "ENTER NEW ATC MW,PR PAIRS OR RETURN TO CONTINUE"), 2);
}

TEST(AtcDialog, TextBeyondColumnSixtyCountsAsBlank) {
    ProgramRun run = runProgram("\n" + std::string(60, ' ') + "300 1\n999\n");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(countOf(run.report, "2 AREA INTERCONNECTION"), 1);
    EXPECT_NE(run.console.find("NUMBER OF MONTECARLO ITERATIONS?"), std::string::npos);
}

}  // namespace
}  // namespace adequacy::testing
