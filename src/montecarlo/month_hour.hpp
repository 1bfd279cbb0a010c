#pragma once
// Where in the year the simulated losses fall: loss-of-load hours and
// unserved MWh per calendar month and hour of the day, over all simulated
// years. Only loss-of-load hours touch them.

#include <array>

#include "model/calendar.hpp"

namespace adequacy {

struct MonthHourTally {
    std::array<double, monthHourCells> lolHours;
    std::array<double, monthHourCells> unservedMwh;
    bool operator==(const MonthHourTally&) const = default;
};

struct MonthHourTallies {
    MonthHourTally system;
    MonthHourTally area1;
    bool operator==(const MonthHourTallies&) const = default;
};

// The shortfall is formed as the area's counters form it, so the cells add
// up to the annual totals.
inline void tallyLossHour(int hourIndex, float available, float load, MonthHourTally& tally) {
    const auto cell = static_cast<std::size_t>(monthHourCell(hourIndex));
    tally.lolHours[cell] += 1.0;
    tally.unservedMwh[cell] += static_cast<double>(load) - static_cast<double>(available);
}

}  // namespace adequacy
