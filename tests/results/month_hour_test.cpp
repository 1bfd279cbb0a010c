// Where in the year losses fall: the calendar of the 365-day year, and the
// month x hour figures of the simulation and the direct solution adding up
// to the annual ones.

#include <gtest/gtest.h>

#include <numeric>

#include "direct/built_in_system.hpp"
#include "model/calendar.hpp"
#include "montecarlo/fast/loop_comparison.hpp"
#include "results/recorder.hpp"

namespace adequacy {
namespace {

double sum(const std::array<double, monthHourCells>& cells) {
    return std::accumulate(cells.begin(), cells.end(), 0.0);
}

double monthSum(const std::array<double, monthHourCells>& cells, int month) {
    double total = 0.0;
    for (int hour = 0; hour < hoursPerDay; ++hour) total += cells[month * hoursPerDay + hour];
    return total;
}

TEST(Calendar, DaysFallInTheMonthsOfA365DayYear) {
    EXPECT_EQ(monthHourCell(hourIndex(1, 1)), 0);
    EXPECT_EQ(monthHourCell(hourIndex(31, 24)), 23);
    EXPECT_EQ(monthHourCell(hourIndex(32, 1)), 24);             // 1 February
    EXPECT_EQ(monthHourCell(hourIndex(59, 12)), 24 + 11);       // 28 February
    EXPECT_EQ(monthHourCell(hourIndex(60, 12)), 2 * 24 + 11);   // 1 March
    EXPECT_EQ(monthHourCell(hourIndex(201, 12)), 6 * 24 + 11);  // 20 July: summer begins
    EXPECT_EQ(monthHourCell(hourIndex(214, 12)), 7 * 24 + 11);  // 2 August: summer ends
    EXPECT_EQ(monthHourCell(hourIndex(365, 24)), monthHourCells - 1);
}

// The simulated tallies, compared between the loops with the rest of the
// state, add up to the areas' annual counters.
void expectTalliesAddUp(const SimulationState& state) {
    const std::pair<const MonthHourTally*, const AreaCounters*> areas[] = {
        {&state.byMonthHour.system, &state.system}, {&state.byMonthHour.area1, &state.area1}};
    for (auto [tally, counters] : areas) {
        EXPECT_EQ(sum(tally->lolHours), counters->lolHours);
        EXPECT_NEAR(sum(tally->unservedMwh), counters->unservedEnergy,
                    1e-12 * counters->unservedEnergy);
    }
}

TEST(MonthHourTallies, HeavyLoadsInBothLoops) {
    testing::Case c;
    c.load = LoadParameters{{3000.0f, 9500.0f, 9000.0f, 1424.0f, 450.0f, 900.0f, 1000.0f}};
    c.atc = testing::table({{300.0f, 0.9f}, {100.0f, 0.05f}, {-300.0f, 1.0f}});
    const testing::Comparison run{c};
    const SimulationState& last = run.last();
    ASSERT_GT(sum(last.byMonthHour.system.lolHours), 0.0);
    ASSERT_GT(sum(last.byMonthHour.area1.lolHours), 0.0);
    expectTalliesAddUp(last);
    // The whole system is short only on winter and summer days: 1 to 10
    // January and 20 July to 2 August; never at night.
    for (int month = 0; month < monthsPerYear; ++month) {
        if (month == 0 || month == 6 || month == 7) continue;
        EXPECT_EQ(monthSum(last.byMonthHour.system.lolHours, month), 0.0) << month;
    }
    EXPECT_EQ(last.byMonthHour.system.lolHours[0], 0.0);
    // The fast loops leave the same tallies, year by year, bit for bit.
    run.expectSame();
}

TEST(MonthHourTallies, BuiltInDataInBothLoops) {
    const testing::Comparison run{testing::Case{}};
    expectTalliesAddUp(run.last());
    run.expectSame();
}

TEST(ExpectedLolHours, SingleAreaSolutionByMonthAndHour) {
    const CapacityTables& tables = testing::builtInTables();
    const HourlyLoads& loads = testing::builtInLoads();
    const results::MonthHourGrid grid = results::expectedLolHours(tables, loads);
    const AnnualIndices indices = computeSingleArea(tables, loads, 3.8121884f);
    EXPECT_NEAR(sum(grid), indices.lolh, 1e-15);
    // Hour 12 of the ten winter days, each at the peak of 9424 MW, whose
    // LOLP the hourly table shows as 0.00998912.
    EXPECT_NEAR(grid[11], 10 * 0.00998912, 10 * 0.000000005);
    // Twelve summer days in July, two in August, with the same loads.
    EXPECT_GT(grid[6 * 24 + 11], 0.0);
    EXPECT_NEAR(grid[6 * 24 + 11], 6.0 * grid[7 * 24 + 11], 1e-15);
    for (int month = 1; month < monthsPerYear; ++month) {
        if (month == 6 || month == 7) continue;
        EXPECT_EQ(monthSum(grid, month), 0.0) << month;
    }
}

}  // namespace
}  // namespace adequacy
