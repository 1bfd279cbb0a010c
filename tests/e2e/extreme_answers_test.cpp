// Answers far outside what the dialogs expect still end the run in one of
// its defined ways; under the sanitizer build these runs also show that no
// pass meets undefined behaviour on the way.

#include <gtest/gtest.h>

#include "e2e/program_run.hpp"

namespace adequacy::testing {
namespace {

const std::string hyphens = " " + std::string(57, '-') + "\r\n";
const std::string endOfInput = "adequacy: I/O error on console input: end of input during a read\n";
const std::string notAnInteger =
    "adequacy: I/O error on console input: conversion error: the answer is not an integer\n";

struct Answers {
    const char* what;
    std::string input;
    int status;
    std::string errors;
};

TEST(ExtremeAnswers, EndTheRunInADefinedWay) {
    const Answers cases[] = {
        {"infinite loads of both signs", "1e39,1e39,1e39,-1e39,1e39,-1e39,1e39\n\n\n1000\n\n", 0,
         ""},
        {"negative loads and probabilities below the smallest float",
         "-5 -5 -5 -5 -5 -5 -5\n\n1e-45 1e-45\n\n1000\n\n", 0, ""},
        {"all loads zero", "0 0 0 0 0 0 0\n\n\n1000\n\n", 0, ""},
        {"huge repeat counts of infinities", "99999999999*1e39\n\n99999999999*-1e39\n\n1000\n\n", 0,
         ""},
        {"infinite transfer and probabilities", "\n1e39 1e39 -1e39 -1e-39 5 1e39\n\n1000\n\n", 0,
         ""},
        {"control characters and bytes above 127", "\x01\x7f\xff\xc3\xa9\n\n", 1,
         "adequacy: load parameters: cannot read \"\\x01\\x7f\xff\xc3\xa9\" as numbers\n"},
        {"tabs only: the answer runs out of values", "\t\t\n\n", 2,
         "adequacy: I/O error on internal file (load parameter answer): end of input: 0 of 7 "
         "values given and no slash: end the answer with a slash to keep the rest, as in \"/\"\n"},
        {"a byte above 127 for the number of years", "\n\n\xff\n\n", 2, notAnInteger},
        {"a number of years beyond 32 bits", "\n\n99999999999\n\n", 2, notAnInteger},
    };
    for (const Answers& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramRun run = runProgram(c.input);
        EXPECT_EQ(run.exitStatus, c.status);
        EXPECT_EQ(run.errors, c.errors);
        if (c.status == 0) {
            EXPECT_TRUE(run.report.ends_with("      1000 yrs\r\n" + hyphens));
        }
    }
}

TEST(ExtremeAnswers, LoadEchoesShowTheIntegerPartOrAsterisks) {
    ProgramRun run = runProgram("3e9,1e10,-2.5,1234567.9/\nx\n\n");
    EXPECT_NE(run.console.find(" D1 MIN, D2 WIN, D3 SUM, D4 ADD =3000000000**********        -2"
                               "   1234567\r\n"),
              std::string::npos);
    EXPECT_NE(run.report.find(" D1 MIN, D2 WIN, D3 SUM, D4 ADD =**************     -21234567\r\n"),
              std::string::npos);
}

TEST(ExtremeAnswers, ValuesThatDoNotFitTheirFieldsAreAsterisks) {
    // Infinite loads make every margin infinite or undefined.
    ProgramRun run = runProgram("7*1e39\n\n\n999\n");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(countOf(run.report, "   RESERVE MARGIN =******** %\r\n"), 3);
    EXPECT_NE(run.report.find(" D1 MIN, D2 WIN, D3 SUM, D4 ADD =*******"), std::string::npos);
}

}  // namespace
}  // namespace adequacy::testing
