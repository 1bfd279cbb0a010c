// Printing and checking the ATC table, and reading the ATC answer.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "direct/atc_check.hpp"

namespace adequacy {
namespace {

constexpr const char* heading =
    " 2 AREA INTERCONNECTION\r\n +MW=IMPORT -MW=EXPORT\r\n    ATCMW   PROBLTY\r\n";

// The answer as the dialog reads it: the typed text in columns 1..60, then
// twenty appended zeros.
std::string dialogLine(std::string typed) {
    typed.resize(60, ' ');
    return typed + ",0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0";
}

struct AtcCase {
    const char* typed;    // null: the built-in table
    const char* rows;     // the table lines after the heading
    const char* warning;  // the report's last line when the table is refused
};

TEST(AtcTable, PrintAndCheckAfterAnAnswer) {
    const char* importError = " WARNING, ATC IMPORT PROBABILITY ERROR, TRY AGAIN\r\n";
    const AtcCase cases[] = {
        // 1 - 0.99 - 0.01 leaves a rounding residue that the tolerance clears.
        {nullptr,
         "     300    0.99000\r\n     200    0.01000\r\n    -300    1.00000\r\n"
         "      +0    0.00000\r\n      -0    0.00000\r\n",
         ""},
        {"250 .9 -250 1",
         "     250    0.90000\r\n    -250    1.00000\r\n      +0    0.10000\r\n"
         "      -0    0.00000\r\n",
         ""},
        {"300 .99", "     300    0.99000\r\n      +0    0.01000\r\n      -0    1.00000\r\n", ""},
        // The trailing comma and the appended one form a null value: row 2
        // keeps its 200 MW while its probability becomes 0.
        {"300,.99,",
         "     300    0.99000\r\n     200    0.00000\r\n      +0    0.01000\r\n"
         "      -0    1.00000\r\n",
         ""},
        // A row of 0 MW is neither printed nor counted; 0.5 MW prints as 0.
        {"0 .5 0.5 .3 -300.7 .4",
         "       0    0.30000\r\n    -300    0.40000\r\n      +0    0.70000\r\n"
         "      -0    0.60000\r\n",
         ""},
        // A slash keeps the rows not yet read.
        {"100 .5/",
         "     100    0.50000\r\n     200    0.01000\r\n    -300    1.00000\r\n"
         "      +0    0.49000\r\n      -0    0.00000\r\n",
         ""},
        // Refused tables: no residue rows, the warning in the report only.
        {"300 .6 200 .6", "     300    0.60000\r\n     200    0.60000\r\n", importError},
        {"-300 .6 -200 .6", "    -300    0.60000\r\n    -200    0.60000\r\n",
         " WARNING, ATC EXPORT PROBABILITY ERROR, TRY AGAIN\r\n"},
        // Both directions wrong: the import check comes first.
        {"-300 .6 300 .6 -200 .6 200 .6",
         "    -300    0.60000\r\n     300    0.60000\r\n    -200    0.60000\r\n"
         "     200    0.60000\r\n",
         importError},
    };
    for (const AtcCase& c : cases) {
        const std::string name = c.typed == nullptr ? "built-in" : c.typed;
        AtcTable table = builtInAtcTable();
        if (c.typed != nullptr) readAtcAnswer(dialogLine(c.typed), table);
        report::Channel console = report::captureChannel("console");
        report::Channel reportFile = report::captureChannel("report");
        EXPECT_EQ(printAndCheckAtcTable(table, console, reportFile), *c.warning == '\0') << name;
        EXPECT_EQ(console.captured, heading + std::string(c.rows)) << name;
        EXPECT_EQ(reportFile.captured, "  \r\n" + std::string(heading) + c.rows + c.warning)
            << name;
    }
}

TEST(AtcTable, SumAboveOneWithinTheTolerancePasses) {
    AtcTable table{};
    table.mw[0] = 300.0f;
    table.probability[0] = 1.0000005f;
    report::Channel console = report::captureChannel("console");
    EXPECT_TRUE(printAndCheckAtcTable(table, console, console));
    EXPECT_EQ(table.probability[atcZeroImportRow - 1], 0.0f);
    table.probability[0] = 1.000002f;
    EXPECT_FALSE(printAndCheckAtcTable(table, console, console));
}

// The dialog itself, reading its answer from a file.
DialogOutcome answerDialog(const std::string& line, AtcTable& table) {
    std::FILE* file = std::tmpfile();
    std::fputs(line.c_str(), file);
    std::rewind(file);
    report::ConsoleInput input{file, "test input"};
    report::Channel console = report::captureChannel("console");
    DialogOutcome outcome = runAtcDialog(table, console, input);
    std::fclose(file);
    EXPECT_EQ(console.captured, " ENTER NEW ATC MW,PR PAIRS OR RETURN TO CONTINUE\r\n");
    return outcome;
}

TEST(AtcAnswerLine, OnlyTheFirstSixtyColumnsAreRead) {
    AtcTable table = builtInAtcTable();
    EXPECT_EQ(answerDialog("\n", table), DialogOutcome::proceed);
    EXPECT_EQ(answerDialog(std::string(60, ' ') + "100 1\n", table), DialogOutcome::proceed);
    EXPECT_EQ(table.mw[0], 300.0f);

    // A value straddling column 60 is cut there: 0.0123 reads as 0.01.
    EXPECT_EQ(answerDialog(std::string(54, ' ') + "7 0.0123\n", table), DialogOutcome::repeat);
    EXPECT_EQ(table.mw[0], 7.0f);
    EXPECT_EQ(table.probability[0], 0.01f);
    EXPECT_EQ(table.mw[1], 0.0f);

    // A tab is not blank but separates: the appended comma is then a null.
    EXPECT_EQ(answerDialog("\t\n", table), DialogOutcome::repeat);
    EXPECT_EQ(table.mw[0], 7.0f);
    EXPECT_EQ(table.probability[0], 0.0f);

    EXPECT_EQ(answerDialog("300 X\n", table), DialogOutcome::inputError);
}

}  // namespace
}  // namespace adequacy
