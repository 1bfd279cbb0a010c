// A year of loads given hour by hour: the built-in model's year given that
// way is studied exactly as the model's, and each day's peak hour is the
// first hour with the day's largest load.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "direct/built_in_system.hpp"
#include "direct/two_area.hpp"
#include "model/loads.hpp"
#include "montecarlo/fast/fast_year.hpp"
#include "montecarlo/year.hpp"

namespace adequacy {
namespace {

using testing::builtInLoads;
using testing::builtInMttrFactor;
using testing::builtInTables;
using testing::printed;

std::unique_ptr<HourlyLoads> givenHourByHour(const HourlyLoads& model) {
    const std::vector<float> total(model.total.begin(), model.total.end());
    const std::vector<float> area1(model.area1.begin(), model.area1.end());
    auto loads = std::make_unique<HourlyLoads>();
    loads->totalPeakHour.fill(0);  // so that a peak hour left unset shows
    setHourlyLoads(total, area1, *loads);
    return loads;
}

TEST(HourlyLoadYear, TheModelsYearGivesTheModelsFigures) {
    const HourlyLoads& model = builtInLoads();
    const auto given = givenHourByHour(model);
    EXPECT_EQ(given->total, model.total);
    EXPECT_EQ(given->area1, model.area1);
    EXPECT_EQ(given->totalPeak, 9424.0f);
    EXPECT_EQ(given->area1Peak, 846.0f);
    EXPECT_EQ(given->area0Peak, 8724.0f);
    // Hours 12 and 13 carry every day's largest load: the first is the peak.
    EXPECT_EQ(given->totalPeakHour, everyDayAt(12));
    EXPECT_EQ(given->area1PeakHour, everyDayAt(12));
    EXPECT_EQ(given->area0PeakHour, everyDayAt(12));
    EXPECT_EQ(model.totalPeakHour, everyDayAt(12));

    const float factor = builtInMttrFactor();
    EXPECT_EQ(printed(computeSingleArea(builtInTables(), *given, factor)),
              printed(computeSingleArea(builtInTables(), model, factor)));
    for (ReceivingArea area : {ReceivingArea::area1, ReceivingArea::area0}) {
        EXPECT_EQ(printed(computeTwoArea(area, builtInTables(), *given, builtInAtcTable(), factor)),
                  printed(computeTwoArea(area, builtInTables(), model, builtInAtcTable(), factor)));
    }
}

TEST(HourlyLoadYear, TheModelsYearGivesTheSameSimulation) {
    const auto given = givenHourByHour(builtInLoads());
    const UnitTypes units = builtInUnitTypes();
    const AtcTable atc = builtInAtcTable();
    TransitionProbabilities probabilities{};
    const SimulationState start = initialState(units, atc, probabilities);
    const SimulationInputs fromModel{units, builtInLoads(), atc, probabilities};
    const SimulationInputs fromYear{units, *given, atc, probabilities};
    const FastYearPlan plan = planFastYears(fromYear, fastestHourChecks());
    SimulationState model = start;
    SimulationState year = start;
    SimulationState fast = start;
    for (int n = 0; n < 40; ++n) {
        const std::optional<YearRecords> expected = advanceYear(fromModel, model);
        ASSERT_EQ(advanceYear(fromYear, year), expected);
        ASSERT_EQ(advanceYearFast(fromYear, plan, fast), expected);
    }
    EXPECT_EQ(year, model);
    EXPECT_EQ(fast, model);
    EXPECT_GT(model.system.lolHours, 0.0);
}

TEST(HourlyLoadYear, EachDaysPeakIsItsFirstHourWithTheLargestLoad) {
    std::vector<float> total(hoursPerYear, 100.0f);
    std::vector<float> area1(hoursPerYear, 40.0f);
    auto at = [](int day, int hour) { return static_cast<std::size_t>(hourIndex(day, hour)); };
    // Day 2: the system peaks at hours 5 and 9, area 1 at hour 20, area 0
    // (the difference) at hour 5. Day 3: area 0 peaks where area 1 is low.
    total[at(2, 5)] = total[at(2, 9)] = 500.0f;
    area1[at(2, 9)] = 60.0f;
    area1[at(2, 20)] = 90.0f;
    area1[at(3, 7)] = 10.0f;
    auto loads = std::make_unique<HourlyLoads>();
    setHourlyLoads(total, area1, *loads);
    EXPECT_EQ(loads->totalPeakHour[1], 5);
    EXPECT_EQ(loads->area1PeakHour[1], 20);
    EXPECT_EQ(loads->area0PeakHour[1], 5);
    EXPECT_EQ(loads->totalPeakHour[2], 1);  // a flat day: its first hour
    EXPECT_EQ(loads->area0PeakHour[2], 7);
    EXPECT_EQ(loads->totalPeak, 500.0f);
    EXPECT_EQ(loads->area1Peak, 90.0f);
    EXPECT_EQ(loads->area0Peak, 460.0f);

    // LOLE takes each day's term at its peak hour: with the built-in tables,
    // day 2's 10000 MW at hour 5 (not hour 12) is the year's only term.
    std::vector<float> heavy(hoursPerYear, 0.0f);
    heavy[at(2, 5)] = 10000.0f;
    heavy[at(2, 12)] = 9000.0f;
    setHourlyLoads(heavy, std::vector<float>(hoursPerYear, 0.0f), *loads);
    const CapacityTables& t = builtInTables();
    const AnnualIndices r = computeSingleArea(t, *loads, 1.0f);
    EXPECT_EQ(r.lole, t.totalOutageTable.at(IX(10000.0f, t.total.capacity, t.top)));
}

}  // namespace
}  // namespace adequacy
