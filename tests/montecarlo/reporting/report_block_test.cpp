#include "montecarlo/reporting/report_block.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "montecarlo/year.hpp"

namespace adequacy {
namespace {

std::vector<std::string> lines(const std::string& captured) {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t end; (end = captured.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        result.push_back(captured.substr(start, end - start));
    }
    return result;
}

// Three years without any load, reported.
struct QuietYears {
    QuietYears() {
        loads->total.fill(0.0f);
        loads->area1.fill(0.0f);
        state = initialState(units, atc, probabilities);
        files = openScratchFiles();
        const SimulationInputs inputs{units, *loads, atc, probabilities};
        for (int year = 0; year < 3; ++year) append(files, *advanceYear(inputs, state));
        const SimulationContext context{units, *loads, atc, 28.375f, 2267660.0f, 0.0f};
        reportEstimates(context, state, files, console, reportFile);
    }
    ~QuietYears() { closeScratchFiles(files); }

    UnitTypes units = builtInUnitTypes();
    AtcTable atc = builtInAtcTable();
    std::unique_ptr<HourlyLoads> loads = std::make_unique<HourlyLoads>();
    TransitionProbabilities probabilities{};
    SimulationState state{};
    ScratchFiles files{};
    report::Channel console = report::captureChannel("console");
    report::Channel reportFile = report::captureChannel("report");
};

TEST(ReportEstimates, ZeroEstimatesShowAsterisksForTheirSd) {
    const QuietYears run;
    const std::vector<std::string> report = lines(run.reportFile.captured);
    ASSERT_GE(report.size(), 4u);
    EXPECT_EQ(report[0], "    LOLH   SD%    LOLE   SD%    ALOLP  SD%   MWHEUE SD%");
    EXPECT_EQ(report[1], "  0.000000***   0.000000***   0.000000***     0.000***  SA");
    EXPECT_EQ(report[2], "  0.000000***   0.000000***   0.000000***     0.000***  A1");
    EXPECT_EQ(report[3], std::string(41, ' ') + "     0.000 ppm A1");
}

TEST(ReportEstimates, TieTableListsVisitedRowsOnly) {
    const QuietYears run;
    // The built-in tie moves between rows 1 and 2 only, and does visit both
    // in three years.
    ASSERT_GT(run.state.tie.atcStateHours[1], 0.0);
    for (const std::string& captured : {run.reportFile.captured, run.console.captured}) {
        // The rows run from the column heading to the blank line.
        const std::vector<std::string> all = lines(captured);
        auto row = std::find(all.begin(), all.end(), "  #  ATCMW   PROB    LOLTV  SD%  CALCPR");
        ASSERT_NE(row, all.end());
        std::vector<std::string> rows;
        while (++row != all.end() && !row->empty()) rows.push_back(*row);
        ASSERT_EQ(rows.size(), 2u) << captured;
        EXPECT_EQ(rows[0].substr(0, 30), "  1   300.  0.9900      0.   0");
        EXPECT_EQ(rows[1].substr(0, 30), "  2   200.  0.0100      0.   0");
        // CALCPR: the share of the simulated hours spent in the row.
        for (int row = 1; row <= 2; ++row) {
            const double share = run.state.tie.atcStateHours[row - 1] / (3.0 * hoursPerYear);
            EXPECT_NEAR(std::stod(rows[row - 1].substr(30)), share, 0.00005) << row;
        }
    }
}

TEST(ReportEstimates, ConsoleAndReportLayout) {
    const QuietYears run;
    const std::vector<std::string> report = lines(run.reportFile.captured);
    const std::vector<std::string> console = lines(run.console.captured);
    ASSERT_EQ(report.size(), 11u);
    EXPECT_EQ(report[4], "  ATCS LOSS OF LOAD TRANSMISSION EVENTS");
    EXPECT_EQ(report[5], "  #  ATCMW   PROB    LOLTV  SD%  CALCPR");
    EXPECT_EQ(report[8], "");
    EXPECT_EQ(report[9].substr(10), " min         3 yrs");
    EXPECT_EQ(report[10], " ---------------------------------------------------------");

    // The console has no ppm line and no closing rule, but a blank line before
    // the tie table.
    ASSERT_EQ(console.size(), 10u);
    EXPECT_EQ(console[0], report[0]);
    EXPECT_EQ(console[1], report[1]);
    EXPECT_EQ(console[2], report[2]);
    EXPECT_EQ(console[3], "  ");
    for (int line = 4; line < 10; ++line) EXPECT_EQ(console[line], report[line]) << line;
}

}  // namespace
}  // namespace adequacy
