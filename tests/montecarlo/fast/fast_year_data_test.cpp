#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "montecarlo/fast/fast_year.hpp"
#include "montecarlo/fast/loop_comparison.hpp"

namespace adequacy {
namespace {

// The fast loop on other loads and unit data, and where it must fall back.
using testing::Case;
using testing::comparedYears;
using testing::Comparison;
using testing::table;

TEST(AdvanceYearFast, HeavyLoadsLoseManyHours) {
    Case c;
    c.load = LoadParameters{{3000.0f, 9500.0f, 9000.0f, 1424.0f, 450.0f, 900.0f, 1000.0f}};
    c.atc = table({{300.0f, 0.9f}, {100.0f, 0.05f}, {-300.0f, 1.0f}});
    const Comparison run{c};
    const SimulationState& last = run.last();
    // Losses in both areas, tie-limited ones among them, in more than one row,
    // and some days and years without loss.
    EXPECT_GT(last.system.lolHours, 20.0 * comparedYears);
    EXPECT_GT(last.area1.lolHours, 20.0 * comparedYears);
    EXPECT_GT(last.atcLimitedLolHours[0], 0.0);
    EXPECT_GT(last.atcLimitedLolHours[atcZeroImportRow - 1], 0.0);
    EXPECT_LT(last.system.lolDays, daysPerYear * comparedYears);
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
    // is always out, never repaired (a repair probability of 0); type 3
    // fails in every hour it is up (a failure probability above 1), and
    // type 4 never fails (0).
    c.units.mttrDays[0] = 0.01f;
    c.units.forcedOutageRate[1] = 0.5f;
    c.units.deratedProbability[1] = 0.5f;
    c.units.deratedMw[1] = 4;
    c.units.forcedOutageRate[2] = 0.9f;
    c.units.mttrDays[2] = 0.01f;
    c.units.forcedOutageRate[3] = 0.0f;
    const Comparison run{c};
    ASSERT_GE(run.probabilities.unitRepairProb[0], 1.0f);
    ASSERT_EQ(run.probabilities.unitRepairProb[1], 0.0f);
    ASSERT_GT(run.probabilities.unitFailProb[2], 1.0f);
    ASSERT_EQ(run.probabilities.unitFailProb[3], 0.0f);
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

// Systems of other sizes: the lanes, their thresholds and the jumps follow
// the units. Units of mixed types, with loads scaled to their capacity (the
// total loads by one factor, area 1's by another) so that both tests count
// losses: 37 units (3502 MW, area 1 = 7 units, 574 MW); 440 units (42812 MW,
// area 1 = 40 units, 3892 MW), four times the built-in system; 2 units.
Case systemOfSize(int units, int area1Units, float totalScale, float area1Scale) {
    Case c;
    c.units.unitType.clear();
    for (int u = 0; u < units; ++u) c.units.unitType.push_back((u * 7 + u / 10) % 10);
    c.units.area1UnitCount = area1Units;
    for (std::size_t i = 0; i < c.load.d.size(); ++i)
        c.load.d[i] *= i < 4 ? totalScale : area1Scale;
    return c;
}

TEST(AdvanceYearFast, SystemsOfOtherSizes) {
    struct Size {
        int units;
        int area1Units;
        float totalScale;
        float area1Scale;
    };
    for (Size size :
         {Size{37, 7, 0.37f, 0.7f}, Size{440, 40, 4.5f, 4.6f}, Size{2, 1, 0.021f, 0.01f}}) {
        const Comparison run{
            systemOfSize(size.units, size.area1Units, size.totalScale, size.area1Scale)};
        ASSERT_EQ(run.start.unitState.size(), static_cast<std::size_t>(size.units));
        const SimulationState& last = run.last();
        EXPECT_GT(last.system.lolHours, 0.0) << size.units << " units";
        EXPECT_GT(last.area1.lolHours, 0.0) << size.units << " units";
        run.expectSame();
    }
}

// Hours whose tie takes the last lane of their last vector, with no padding
// after it, for every number of vectors an hour keeps in registers (1 to 8:
// 15 to 127 units, the last with the tie at lane 127 of the second word).
// Units fail within a day and return within hours: in an hour of 127 units,
// some three fail (each a second draw) and three return.
TEST(AdvanceYearFast, HoursWithoutPaddingAndManyEventsAnHour) {
    for (const int units : {15, 31, 47, 63, 79, 95, 111, 127}) {
        Case c = systemOfSize(units, units / 8, units / 110.0f, units / 110.0f);
        for (std::size_t type = 0; type < c.units.mttrDays.size(); ++type) {
            c.units.mttrDays[type] = 0.25f + 0.05f * static_cast<float>(type);
            c.units.forcedOutageRate[type] = 0.2f;
        }
        ASSERT_EQ(hourLanesFor(units), units + 1);
        const Comparison run{c, 6};
        ASSERT_EQ(run.reference.size(), 6u) << units << " units";
        const SimulationState& last = run.last();
        EXPECT_GT(last.system.lolHours, 0.0) << units << " units";
        EXPECT_GT(last.tie.atcStateHours[0], 0.0) << units << " units";
        EXPECT_LT(last.tie.atcStateHours[0], 6.0 * hoursPerYear) << units << " units";
        run.expectSame();
    }
}

TEST(AdvanceYearFast, SystemsBeyondTheLanesGiveTheReferenceYear) {
    // Too many units for the lanes of an hour; two years suffice to compare.
    const Comparison run{systemOfSize(maxHourLanes, 100, 1.0f, 1.0f), 2};
    const SimulationInputs inputs{run.units, *run.loads, run.atc, run.probabilities};
    const FastYearPlan plan = planFastYears(inputs, scalarHourChecks());
    ASSERT_TRUE(plan.exactCapacities);
    ASSERT_FALSE(plan.fitsLanes);
    run.expectSame();
}

// A stretch is left untested only when no hour of the year could fail a
// test: capacities around the margin, for every row of the tie, and on each
// side of the bounds the integer test trusts.
TEST(AdvanceYearFast, PeaksCoverEveryHourTheySkip) {
    auto loads = std::make_unique<HourlyLoads>();
    computeHourlyLoads(builtInLoadParameters(), *loads);
    TransitionProbabilities probabilities{};
    const UnitTypes units = builtInUnitTypes();
    const AtcTable atc = builtInAtcTable();
    initialState(units, atc, probabilities);
    const FastYearPlan plan =
        planFastYears(SimulationInputs{units, *loads, atc, probabilities}, scalarHourChecks());
    std::vector<int> systems;
    for (int system = 7000; system <= 14000; system += 25) systems.push_back(system);
    for (int near = -3; near <= 3; ++near) systems.push_back(plan.cover.system + near);
    int covered = 0;
    int sure = 0;
    std::vector<double> capabilities;
    for (int row = 1; row <= atcRows; ++row) {
        const double capability = atc.mw[static_cast<std::size_t>(row - 1)];
        if (std::find(capabilities.begin(), capabilities.end(), capability) != capabilities.end())
            continue;
        capabilities.push_back(capability);
        std::vector<int> areas;
        for (int area1 = 0; area1 <= 2000; area1 += 50) areas.push_back(area1);
        for (int near = -3; near <= 3; ++near)
            areas.push_back(plan.cover.area1[static_cast<std::size_t>(row - 1)] + near);
        for (const int system : systems) {
            for (const int area1 : areas) {
                const HourCapacity capacity{static_cast<float>(system), static_cast<float>(area1)};
                const bool covers = coversPeaks(plan.peaks, capacity, capability);
                if (surelyCovers(plan.cover, system, area1, row)) {
                    ++sure;
                    ASSERT_TRUE(covers)
                        << system << " MW, " << area1 << " MW in area 1, row " << row;
                }
                if (!covers) continue;
                ++covered;
                for (int index = 0; index < hoursPerYear; ++index)
                    ASSERT_FALSE(
                        isLossHour(capacity, capability, loads->total[index], loads->area1[index]))
                        << system << " MW, " << area1 << " MW in area 1, tie " << capability;
            }
        }
    }
    EXPECT_GT(sure, covered / 2);
}

// The integer test holds at every magnitude up to 2^24 MW, MW by MW around
// its bounds (a bound one MW too low fails here), for ties large and
// negative, and the bounds stay within a few MW in a million of the peaks.
// A NaN tie passes nothing in its row, NaN loads (infinite peaks) nothing.
TEST(SureCover, BoundsHoldAtEveryMagnitude) {
    constexpr int none = std::numeric_limits<int>::max();
    AtcTable atc = builtInAtcTable();
    atc.mw[3] = 1.0e6f;
    atc.mw[4] = -2.5e6f;
    atc.mw[5] = std::numeric_limits<float>::quiet_NaN();
    for (const float scale : {1.0f, 1000.0f, 7000.0f}) {
        const YearPeaks peaks{1700.0f * scale, 700.0f * scale, 1000.0 * scale + 0.3};
        const SureCover cover = sureCover(peaks, atc);
        EXPECT_LT(cover.system, (peaks.area0 + peaks.area1) * (1.0 + 1e-5) + 6.0) << scale;
        EXPECT_EQ(cover.area1[5], none);
        int sure = 0;
        for (int row = 1; row <= atcRows; ++row) {
            const int area1Bound = cover.area1[static_cast<std::size_t>(row - 1)];
            if (area1Bound == none) continue;
            for (int system = cover.system - 3; system <= cover.system + 3; ++system) {
                for (int area1 = area1Bound - 3; area1 <= area1Bound + 3; ++area1) {
                    if (!surelyCovers(cover, system, area1, row)) continue;
                    ++sure;
                    const HourCapacity capacity{static_cast<float>(system),
                                                static_cast<float>(area1)};
                    ASSERT_TRUE(
                        coversPeaks(peaks, capacity, atc.mw[static_cast<std::size_t>(row - 1)]))
                        << scale << ": " << system << " MW, " << area1 << " MW in area 1, row "
                        << row;
                }
            }
        }
        EXPECT_GT(sure, 0);
    }
    constexpr float infinity = std::numeric_limits<float>::infinity();
    EXPECT_EQ(sureCover(YearPeaks{infinity, infinity, infinity}, atc).system, none);
}

}  // namespace
}  // namespace adequacy
