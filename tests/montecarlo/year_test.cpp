#include "montecarlo/year.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <optional>

#include "montecarlo/random.hpp"
#include "montecarlo/reporting/report_block.hpp"
#include "montecarlo/reporting/scratch.hpp"
#include "report/channel.hpp"

namespace adequacy {
namespace {

// Flat loads: the same total and area-1 MW in every hour of the year.
std::unique_ptr<HourlyLoads> flatLoads(float total, float area1) {
    auto loads = std::make_unique<HourlyLoads>();
    loads->total.fill(total);
    loads->area1.fill(area1);
    loads->totalPeak = total;
    loads->area1Peak = area1;
    loads->area0Peak = total - area1;
    return loads;
}

constexpr int totalCapacity = 10703;
constexpr int area1Capacity = 973;

// A few years of the built-in system on the given loads and tie.
struct YearsRun {
    YearsRun(std::unique_ptr<HourlyLoads> hourly, AtcTable table, int years)
        : loads(std::move(hourly)),
          atc(table),
          state(initialState(units, atc, probabilities)),
          inputs{units, *loads, atc, probabilities} {
        for (int year = 0; year < years; ++year) {
            const std::optional<YearRecords> next = advanceYear(inputs, state);
            EXPECT_TRUE(next.has_value());
            if (next) records = *next;
        }
    }
    UnitTypes units = builtInUnitTypes();
    std::unique_ptr<HourlyLoads> loads;
    AtcTable atc;
    TransitionProbabilities probabilities{};
    SimulationState state;
    SimulationInputs inputs;
    YearRecords records{};
};

double sum(const std::array<double, atcTieStates>& values) {
    return std::accumulate(values.begin(), values.end(), 0.0);
}

TEST(IsLossOfLoad, StrictWithATenThousandthMargin) {
    EXPECT_FALSE(isLossOfLoad(100.0f, 100.0f));
    EXPECT_FALSE(isLossOfLoad(100.0f, 100.0001f));  // held as 100.0000992
    EXPECT_TRUE(isLossOfLoad(100.0f, 100.0002f));
    EXPECT_TRUE(isLossOfLoad(0.0f, 1.0f));
}

TEST(InitialState, SetUpDrawsOnlyForTheUnits) {
    TransitionProbabilities probabilities{};
    const SimulationState state =
        initialState(builtInUnitTypes(), builtInAtcTable(), probabilities);
    std::uint32_t seed = ranInitialSeed;
    for (int u = 0; u < builtInUnitTypes().unitCount(); ++u) ran(seed);
    EXPECT_EQ(state.ranSeed, seed);
    EXPECT_EQ(state.tie.atcState, 1);
    EXPECT_EQ(state.yearCount, 0);
    EXPECT_EQ(state.system, AreaCounters{});
    EXPECT_EQ(sum(state.tie.atcStateHours), 0.0);
}

TEST(AdvanceYear, NoLoadNoLoss) {
    const YearsRun run(flatLoads(0.0f, 0.0f), builtInAtcTable(), 2);
    EXPECT_EQ(run.state.yearCount, 2);
    EXPECT_EQ(run.state.system, AreaCounters({0.0, 0.0, 2.0, 0.0}));
    EXPECT_EQ(run.state.area1, AreaCounters({0.0, 0.0, 2.0, 0.0}));
    EXPECT_EQ(run.records, YearRecords{});
    EXPECT_EQ(sum(run.state.tie.atcStateHours), 2.0 * hoursPerYear);
}

TEST(AdvanceYear, LoadBeyondAllCapacityLosesEveryHour) {
    // Area 0 is short as well, so its surplus is negative: the transfer is
    // that surplus, never the tie's capability, and no hour is tie-limited.
    constexpr float total = 20000.0f;
    constexpr float area1 = 2000.0f;
    const YearsRun run(flatLoads(total, area1), builtInAtcTable(), 2);
    for (const AreaCounters* area : {&run.state.system, &run.state.area1}) {
        EXPECT_EQ(area->lolHours, 2.0 * hoursPerYear);
        EXPECT_EQ(area->lolDays, 2.0 * daysPerYear);
        EXPECT_EQ(area->lolFreeYears, 0.0);
    }
    EXPECT_GE(run.state.system.unservedEnergy, 2.0 * hoursPerYear * (total - totalCapacity));
    EXPECT_LE(run.state.system.unservedEnergy, 2.0 * hoursPerYear * total);
    EXPECT_GE(run.state.area1.unservedEnergy, 2.0 * hoursPerYear * (area1 - area1Capacity));
    EXPECT_LE(run.state.area1.unservedEnergy, 2.0 * hoursPerYear * area1);
    EXPECT_EQ(run.state.atcLimitedLolHours, (std::array<double, atcRows>{}));
    const YearRecords& records = run.records;
    EXPECT_EQ(records.system[0], hoursPerYear);
    EXPECT_EQ(records.system[1], daysPerYear);
    EXPECT_EQ(records.system[2], 1.0);
    EXPECT_EQ(records.system[3], run.state.system.unservedEnergy / 2.0);
}

TEST(AdvanceYear, ZeroMegawattTieDoesNotCountAShortAreaZero) {
    AtcTable atc{};
    atc.probability[0] = 1.0f;  // row 1: 0 MW for good
    const YearsRun run(flatLoads(20000.0f, 2000.0f), atc, 1);
    EXPECT_EQ(run.state.area1.lolHours, hoursPerYear);
    EXPECT_EQ(run.state.atcLimitedLolHours, (std::array<double, atcRows>{}));
}

TEST(AdvanceYear, AmpleAreaZeroMakesEveryAreaOneLossTieLimited) {
    // Area 1 needs more than its units plus the largest import; area 0 can
    // always spare the full capability.
    const YearsRun run(flatLoads(1400.0f, 1300.0f), builtInAtcTable(), 2);
    EXPECT_EQ(run.state.system, AreaCounters({0.0, 0.0, 2.0, 0.0}));
    EXPECT_EQ(run.state.area1.lolHours, 2.0 * hoursPerYear);
    for (int row = 1; row <= atcTieStates; ++row) {
        EXPECT_EQ(run.state.atcLimitedLolHours[row - 1], run.state.tie.atcStateHours[row - 1])
            << "row " << row;
    }
    EXPECT_EQ(run.state.atcLimitedLolHours[atcZeroExportRow - 1], 0.0);
    // The built-in tie leaves row 1 only for row 2, and does leave it.
    EXPECT_GT(run.state.tie.atcStateHours[1], 0.0);
    EXPECT_EQ(run.state.tie.atcStateHours[0] + run.state.tie.atcStateHours[1], 2.0 * hoursPerYear);
}

TEST(AdvanceYear, CountersStayConsistentUnderTightLoads) {
    // Loads that lose some hours, but not all, in both areas.
    const YearsRun run(flatLoads(9800.0f, 900.0f), builtInAtcTable(), 3);
    const SimulationState& state = run.state;
    for (const AreaCounters* area : {&state.system, &state.area1}) {
        EXPECT_GT(area->lolHours, 0.0);
        EXPECT_LT(area->lolHours, 3.0 * hoursPerYear);
        EXPECT_LE(area->lolDays, area->lolHours);
        EXPECT_GE(area->lolDays * hoursPerDay, area->lolHours);
        EXPECT_LE(area->lolDays, 3.0 * daysPerYear);
        EXPECT_LE(area->lolFreeYears, 3.0);
        EXPECT_GT(area->unservedEnergy, 0.0);
    }
    const double limited =
        std::accumulate(state.atcLimitedLolHours.begin(), state.atcLimitedLolHours.end(), 0.0);
    EXPECT_LE(limited, state.area1.lolHours);
    EXPECT_EQ(sum(state.tie.atcStateHours), 3.0 * hoursPerYear);
    EXPECT_EQ(run.records, yearRecords(state));
    EXPECT_EQ(run.records.area1[2], 1.0 - state.area1.lolFreeYears / 3.0);
}

TEST(AdvanceYear, ReportInBetweenLeavesTheRunUndisturbed) {
    YearsRun straight(flatLoads(9800.0f, 900.0f), builtInAtcTable(), 0);
    YearsRun reported(flatLoads(9800.0f, 900.0f), builtInAtcTable(), 0);
    ScratchFiles files = openScratchFiles();
    report::Channel console = report::captureChannel("console");
    report::Channel reportFile = report::captureChannel("report");
    const SimulationContext context{reported.units, *reported.loads, reported.atc,
                                    28.375f,        2000000.0f,      0.0f};
    for (int year = 1; year <= 4; ++year) {
        ASSERT_TRUE(advanceYear(straight.inputs, straight.state).has_value());
        const std::optional<YearRecords> records = advanceYear(reported.inputs, reported.state);
        ASSERT_TRUE(records.has_value());
        append(files, *records);
        if (year == 3) reportEstimates(context, reported.state, files, console, reportFile);
    }
    EXPECT_EQ(reported.state, straight.state);
    EXPECT_NE(reportFile.captured.find("         3 yrs"), std::string::npos);

    // The fourth record went after the third, not over the first.
    rewind(files);
    std::array<double, areaEstimates> record{};
    for (int year = 1; year <= 4; ++year) readRecord(files.system, record);
    EXPECT_EQ(record, yearRecords(reported.state).system);
    closeScratchFiles(files);
}

}  // namespace
}  // namespace adequacy
