// Standard errors from the values of the single years, worked out by hand
// for three years, through the report's own read-back of the scratch files.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>

#include "e2e/program_run.hpp"
#include "montecarlo/reporting/report_block.hpp"
#include "montecarlo/reporting/scratch_fixture.hpp"
#include "results/recorder.hpp"

namespace adequacy {
namespace {

using testing::ScratchFixture;

YearRecords records(double lolh, double alolp, double mwhEue, double tieRate) {
    YearRecords r{};
    r.system = {lolh, 0.0, alolp, mwhEue};
    r.area1 = {lolh, 0.0, alolp, mwhEue};
    r.tie[0] = tieRate;
    return r;
}

class ThreeYears : public ScratchFixture {
  protected:
    void SetUp() override {
        ScratchFixture::SetUp();
        // Running estimates after years 1, 2 and 3:
        //   LOLH    2, 1, 1.5       -> the years' own hours 2, 0, 2.5
        //   ALOLP   1, 1/2, 2/3     -> loss-of-load years   1, 0, 1
        //   MWHEUE  10, 5, 20       -> the years' own MWh   10, 0, 50
        //   tie     0, 1/2, 1/3     -> tie-limited hours    0, 1, 0
        append(files, records(2.0, 1.0, 10.0, 0.0));
        append(files, records(1.0, 0.5, 5.0, 0.5));
        append(files, records(1.5, 2.0 / 3.0, 20.0, 1.0 / 3.0));
        state.yearCount = 3;
        for (AreaCounters* area : {&state.system, &state.area1}) *area = {4.5, 0.0, 1.0, 60.0};
        state.tie.atcStateHours[0] = 3.0 * hoursPerYear;
        state.atcLimitedLolHours[0] = 1.0;
        std::filesystem::create_directories(dir);
        recorder.file.open((dir / "results.json").string());
        loads->total.fill(0.0f);
        loads->area1.fill(0.0f);
        const SimulationContext context{units, *loads, atc,   28.375f,  2267660.0f,
                                        0.0f,  3,      false, &recorder};
        reportEstimates(context, state, files, console, reportFile);
    }
    void TearDown() override {
        ScratchFixture::TearDown();
        std::filesystem::remove_all(dir);
    }

    const results::SimulationReport& report() const {
        return recorder.results.monteCarlo->reports.back();
    }

    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("adequacy-se-" + std::to_string(::getpid()));
    UnitTypes units = builtInUnitTypes();
    AtcTable atc = builtInAtcTable();
    std::unique_ptr<HourlyLoads> loads = std::make_unique<HourlyLoads>();
    SimulationState state{};
    results::Recorder recorder;
    report::Channel console = report::captureChannel("console");
    report::Channel reportFile = report::captureChannel("report");
};

TEST_F(ThreeYears, StandardErrorsAreTheSpreadOfTheYearsOverRootN) {
    // LOLH: mean 1.5, squares 0.25 + 2.25 + 1 = 3.5, variance 1.75.
    const double lolh = std::sqrt(1.75 / 3.0);
    // ALOLP: mean 2/3, squares 1/9 + 4/9 + 1/9, variance 1/3.
    const double alolp = 1.0 / 3.0;
    // MWHEUE: mean 20, squares 100 + 400 + 900, variance 700.
    const double mwhEue = std::sqrt(700.0 / 3.0);
    for (const results::SimulatedArea* area : {&report().system, &report().area1}) {
        EXPECT_NEAR((*area)[0].standardError, lolh, 1e-15);
        EXPECT_NEAR((*area)[2].standardError, alolp, 1e-15);
        EXPECT_NEAR((*area)[3].standardError, mwhEue, 1e-13);
        EXPECT_DOUBLE_EQ((*area)[0].estimate, 1.5);
        // The report's SD% of the same records, as it shows it.
        EXPECT_EQ((*area)[0].sdPercent, 33);
        // No loss-of-load day in any year: the report shows asterisks.
        EXPECT_EQ((*area)[1].sdPercent, std::nullopt);
        EXPECT_EQ((*area)[1].standardError, 0.0);
    }
    ASSERT_EQ(report().tie.size(), 1u);
    EXPECT_NEAR(report().tie[0].limitedPerYear.standardError, 1.0 / 3.0, 1e-15);
    EXPECT_EQ(report().tie[0].limitedLolHours, 1.0);
}

TEST_F(ThreeYears, TheReportIsWrittenToTheResultsFileWithItsInterval) {
    const nlohmann::json file =
        nlohmann::json::parse(testing::readFile((dir / "results.json").string()));
    const nlohmann::json& lolh = file["monte_carlo"]["reports"][0]["system"]["lolh"];
    EXPECT_EQ(lolh["estimate"], 1.5);
    EXPECT_EQ(lolh["sd_percent"], 33);
    const double se = std::sqrt(1.75 / 3.0);
    EXPECT_NEAR(lolh["ci95"][0].get<double>(), 1.5 - 1.96 * se, 1e-15);
    EXPECT_NEAR(lolh["ci95"][1].get<double>(), 1.5 + 1.96 * se, 1e-15);
    EXPECT_TRUE(file["monte_carlo"]["reports"][0]["system"]["lole"]["sd_percent"].is_null());
    // Nothing but the file is left in its directory.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(StandardError, NeedsTwoYears) {
    results::YearValues values;
    EXPECT_TRUE(std::isnan(results::standardError(values)));
    results::addRunningEstimate(values, 4.0);
    EXPECT_TRUE(std::isnan(results::standardError(values)));
    results::addRunningEstimate(values, 4.0);
    EXPECT_EQ(results::standardError(values), 0.0);
}

// Linked years: the spread of the means of whole batches over the root of
// their number. Years 2, 4, 6, 0, 9, 1, 5 in batches of two: means 3, 3, 5
// (the seventh year is in no whole batch), sample variance 4/3.
TEST(StandardError, FromBatchMeansOfConsecutiveYears) {
    results::YearValues values;
    values.batchYears = 2;
    double sum = 0.0;
    int year = 0;
    for (double value : {2.0, 4.0, 6.0, 0.0, 9.0, 1.0, 5.0}) {
        sum += value;
        results::addRunningEstimate(values, sum / ++year);
        if (year == 3) {
            EXPECT_TRUE(std::isnan(results::standardError(values)));  // one whole batch
        }
    }
    EXPECT_NEAR(results::standardError(values), std::sqrt(4.0 / 3.0 / 3.0), 1e-12);
    // Ten times the longest repair, in whole years; the years themselves below one.
    EXPECT_EQ(results::batchYearsFor(3650.0), 100);
    EXPECT_EQ(results::batchYearsFor(42.0), 2);
    EXPECT_EQ(results::batchYearsFor(30.0), 1);
}

TEST(ConvergenceSchedule, LogSpacedFromAThousandYearsToTheReport) {
    const results::ConvergenceSchedule one = results::convergenceSchedule(1000);
    ASSERT_EQ(one.count, 1);
    EXPECT_EQ(one.years[0], 1000);

    const results::ConvergenceSchedule wide = results::convergenceSchedule(100000);
    ASSERT_EQ(wide.count, 100);
    EXPECT_EQ(wide.years[0], 1000);
    EXPECT_EQ(wide.years[99], 100000);
    // Two decades in 99 steps: each point about 4.8% beyond the last.
    const double step = std::pow(100.0, 1.0 / 99.0);
    for (int i = 1; i < wide.count; ++i)
        EXPECT_NEAR(wide.years[i] / static_cast<double>(wide.years[i - 1]), step, 0.001) << i;

    const results::ConvergenceSchedule narrow = results::convergenceSchedule(1050);
    EXPECT_EQ(narrow.years[0], 1000);
    EXPECT_EQ(narrow.years[narrow.count - 1], 1050);
    for (int i = 1; i < narrow.count; ++i) EXPECT_GT(narrow.years[i], narrow.years[i - 1]);
}

}  // namespace
}  // namespace adequacy
