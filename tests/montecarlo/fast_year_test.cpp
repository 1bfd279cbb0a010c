#include "montecarlo/fast_year.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "direct/atc_check.hpp"
#include "montecarlo/year.hpp"
#include "report/channel.hpp"

namespace adequacy {
namespace {

constexpr int years = 24;

struct Case {
    UnitTypes units = builtInUnitTypes();
    LoadParameters load = builtInLoadParameters();
    AtcTable atc = builtInAtcTable();
};

// The residue rows as the two-area dialog leaves them.
AtcTable checkedTable(AtcTable table) {
    report::Channel console = report::captureChannel("console");
    report::Channel reportFile = report::captureChannel("report");
    EXPECT_TRUE(printAndCheckAtcTable(table, console, reportFile));
    return table;
}

AtcTable table(std::initializer_list<std::pair<float, float>> rows) {
    AtcTable atc{};
    int row = 0;
    for (auto [mw, probability] : rows) {
        atc.mw[row] = mw;
        atc.probability[row] = probability;
        ++row;
    }
    return checkedTable(atc);
}

struct Year {
    SimulationState state;
    std::optional<YearRecords> records;
};

// Runs the reference loop, then every loop of this processor from the same
// start, and compares them year by year, field for field.
struct Comparison {
    explicit Comparison(const Case& c) : units(c.units), atc(c.atc) {
        computeHourlyLoads(c.load, *loads);
        start = initialState(units, atc, probabilities);
        const SimulationInputs inputs{units, *loads, atc, probabilities};
        SimulationState state = start;
        for (int year = 0; year < years; ++year) {
            const std::optional<YearRecords> records = advanceYear(inputs, state);
            reference.push_back(Year{state, records});
            if (!records) break;
        }
    }

    void expectSameWith(HourChecks checks, const std::string& name) const {
        const SimulationInputs inputs{units, *loads, atc, probabilities};
        const FastYearPlan plan = planFastYears(inputs, checks);
        SimulationState state = start;
        for (const Year& expected : reference) {
            const std::optional<YearRecords> records = advanceYearFast(inputs, plan, state);
            ASSERT_EQ(state, expected.state) << name << ", year " << state.yearCount;
            ASSERT_EQ(records, expected.records) << name << ", year " << state.yearCount;
        }
    }

    void expectSame() const {
        expectSameWith(scalarHourChecks(), "scalar");
        if (avx2Available()) expectSameWith(avx2HourChecks(), "avx2");
        if (avx512Available()) expectSameWith(avx512HourChecks(), "avx512");
    }

    const SimulationState& last() const { return reference.back().state; }

    UnitTypes units;
    AtcTable atc;
    std::unique_ptr<HourlyLoads> loads = std::make_unique<HourlyLoads>();
    TransitionProbabilities probabilities{};
    SimulationState start{};
    std::vector<Year> reference;
};

TEST(AdvanceYearFast, BuiltInData) {
    const Comparison run{Case{}};
    run.expectSame();
}

TEST(AdvanceYearFast, TieLeavesRowOneInEveryHourThatBeginsThere) {
    Case c;
    c.atc = table({{300.0f, 0.0f}, {200.0f, 0.75f}, {100.0f, 0.25f}, {-300.0f, 1.0f}});
    const Comparison run{c};
    ASSERT_TRUE(std::isinf(run.probabilities.atcLeaveProb));
    // Row 1 is entered (returns on r <= 0.125) but never kept for a second hour.
    EXPECT_GT(run.last().tie.atcStateHours[0], 0.0);
    EXPECT_GT(run.last().tie.atcStateHours[2], 0.0);
    run.expectSame();
}

TEST(AdvanceYearFast, ExportRowFirst) {
    Case c;
    c.atc = table({{-100.0f, 0.5f}, {300.0f, 0.7f}, {100.0f, 0.3f}});
    const Comparison run{c};
    // The tie starts in the export row and moves between the import rows.
    EXPECT_GT(run.last().tie.atcStateHours[1], 0.0);
    EXPECT_GT(run.last().tie.atcStateHours[2], 0.0);
    run.expectSame();
}

TEST(AdvanceYearFast, ZeroImportRowWithProbability) {
    Case c;
    c.atc = table({{250.0f, 0.9f}, {-250.0f, 1.0f}});
    const Comparison run{c};
    EXPECT_GT(run.last().tie.atcStateHours[atcZeroImportRow - 1], 0.0);
    run.expectSame();
}

TEST(AdvanceYearFast, HeavyLoadsLoseManyHours) {
    Case c;
    c.load = LoadParameters{{3000.0f, 9500.0f, 9000.0f, 1424.0f, 450.0f, 900.0f, 1000.0f}};
    c.atc = table({{300.0f, 0.9f}, {100.0f, 0.05f}, {-300.0f, 1.0f}});
    const Comparison run{c};
    const SimulationState& last = run.last();
    // Losses in both areas, tie-limited ones among them, in more than one row,
    // and some days and years without loss.
    EXPECT_GT(last.system.lolHours, 20.0 * years);
    EXPECT_GT(last.area1.lolHours, 20.0 * years);
    EXPECT_GT(last.atcLimitedLolHours[0], 0.0);
    EXPECT_GT(last.atcLimitedLolHours[atcZeroImportRow - 1], 0.0);
    EXPECT_LT(last.system.lolDays, daysPerYear * years);
    run.expectSame();
}

TEST(AdvanceYearFast, DeratedUnitsWithDeratedCapacity) {
    Case c;
    c.units.deratedProbability = {0.02f, 0.0f,  0.05f, 0.03f, 0.1f,
                                  0.02f, 0.04f, 0.01f, 0.02f, 0.03f};
    c.units.deratedMw = {2, 0, 6, 11, 20, 30, 50, 99, 124, 138};
    c.load = LoadParameters{{2200.0f, 8500.0f, 7500.0f, 1424.0f, 350.0f, 800.0f, 900.0f}};
    const Comparison run{c};
    int derated = 0;
    for (int state : run.last().unitState) derated += state == unitDerated ? 1 : 0;
    int deratedAtStart = 0;
    for (int state : run.start.unitState) deratedAtStart += state == unitDerated ? 1 : 0;
    EXPECT_GT(derated + deratedAtStart, 0);
    EXPECT_GT(run.last().system.lolHours, 0.0);
    run.expectSame();
}

TEST(AdvanceYearFast, RatesThatAlwaysOrNeverFire) {
    Case c;
    // Type 1 is repaired within the hour (repair probability above 1); type 2
    // is always out, with an infinite repair time: a NaN failure probability,
    // which fails it whenever it is up, and a repair probability of 0; type 3
    // fails in every hour it is up (an infinite failure probability).
    c.units.mttrDays[0] = 0.01f;
    c.units.forcedOutageRate[1] = 0.5f;
    c.units.deratedProbability[1] = 0.5f;
    c.units.deratedMw[1] = 4;
    c.units.mttrDays[1] = std::numeric_limits<float>::infinity();
    c.units.forcedOutageRate[2] = 1.0f;
    const Comparison run{c};
    ASSERT_GE(run.probabilities.unitRepairProb[0], 1.0f);
    ASSERT_TRUE(std::isnan(run.probabilities.unitFailProb[1]));
    ASSERT_EQ(run.probabilities.unitRepairProb[1], 0.0f);
    ASSERT_TRUE(std::isinf(run.probabilities.unitFailProb[2]));
    run.expectSame();
}

TEST(AdvanceYearFast, TieWithNowhereToGoFailsAtTheSameDraw) {
    Case c;
    c.atc = AtcTable{};
    c.atc.mw = {-300.0f, -200.0f};
    c.atc.probability = {0.5f, 0.5f};
    const Comparison run{c};
    ASSERT_FALSE(run.reference.back().records.has_value());
    run.expectSame();
}

TEST(AdvanceYearFast, CapacitiesUpTo2To24AreSummedExactly) {
    UnitTypes units = builtInUnitTypes();
    const auto loads = std::make_unique<HourlyLoads>();
    const AtcTable atc = builtInAtcTable();
    TransitionProbabilities probabilities{};
    initialState(units, atc, probabilities);
    const SimulationInputs inputs{units, *loads, atc, probabilities};
    // Eleven blocks of 1525201 MW: 16777211 MW, just below 2^24.
    units.pmax = {152520, 152520, 152520, 152520, 152520, 152520, 152520, 152520, 152520, 152521};
    EXPECT_TRUE(planFastYears(inputs, scalarHourChecks()).exactCapacities);
    units.pmax[9] += 1;
    EXPECT_FALSE(planFastYears(inputs, scalarHourChecks()).exactCapacities);
    units.pmax[9] -= 1;
    units.deratedMw[0] = -152521;  // a magnitude counts whatever its sign
    EXPECT_FALSE(planFastYears(inputs, scalarHourChecks()).exactCapacities);
}

TEST(AdvanceYearFast, UnexactCapacitiesGiveTheReferenceYear) {
    Case c;
    c.units.pmax = {5, 10, 13, 22, 43, 57, 101, 198, 248, 16777216};
    c.load = LoadParameters{{2000.0f, 8000.0f, 7000.0f, 16777216.0f, 300.0f, 700.0f, 846.0f}};
    const Comparison run{c};
    const SimulationInputs inputs{run.units, *run.loads, run.atc, run.probabilities};
    ASSERT_FALSE(planFastYears(inputs, scalarHourChecks()).exactCapacities);
    run.expectSame();
}

}  // namespace
}  // namespace adequacy
