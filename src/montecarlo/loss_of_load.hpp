#pragma once
// The hourly loss-of-load tests of the whole system and of area 1, shared by
// every year loop so that all of them count the same hours.

#include "direct/atc_table.hpp"
#include "montecarlo/state.hpp"

namespace adequacy {

inline constexpr float lolMargin = 0.0001f;

// Loss-of-load days of one area within the current year.
struct DayTally {
    int days = 0;
    bool today = false;
};

// Available MW of the hour, after the units have been stepped.
struct HourCapacity {
    float system;
    float area1;
};

// Available capacity equal to the load, or short of it by less than a
// hair's breadth of 0.0001 MW, is no loss of load.
inline bool isLossOfLoad(float available, float load) {
    return static_cast<double>(available) + lolMargin < static_cast<double>(load);
}

inline void countLossHour(float available, float load, AreaCounters& counters, DayTally& tally) {
    counters.unservedEnergy += static_cast<double>(load) - static_cast<double>(available);
    counters.lolHours += 1.0;
    if (!tally.today) {
        tally.days += 1;
        tally.today = true;
    }
}

// `hourIndex` places the hour in the year (day by day, 0-based).
inline void testSystem(float capacity, float load, int hourIndex, SimulationState& state,
                       DayTally& tally) {
    if (!isLossOfLoad(capacity, load)) return;
    countLossHour(capacity, load, state.system, tally);
    tallyLossHour(hourIndex, capacity, load, state.byMonthHour.system);
}

// Area 1 imports what area 0 can spare, up to the capability of the row in
// force: the transfer, and the MW then available in area 1.
struct Area1Supply {
    double transfer;
    float available;
};

inline Area1Supply area1Supply(HourCapacity capacity, double capability, float load, float load1) {
    const double surplus = (static_cast<double>(capacity.system) - capacity.area1) -
                           (static_cast<double>(load) - load1);
    const double transfer = surplus > capability ? capability : surplus;
    float available = capacity.area1;
    if (transfer > 0.0) available = static_cast<float>(available + transfer);
    return {transfer, available};
}

// The hour counts as tie-limited when the import is the capability. A short
// area 0 leaves a negative transfer, which is never the capability: its hours
// are not tie-limited, even in a 0 MW row.
inline void testArea1(const AtcTable& atc, HourCapacity capacity, float load, float load1,
                      int hourIndex, SimulationState& state, DayTally& tally) {
    const int row = state.tie.atcState;
    const double capability = atc.mw[row - 1];
    const Area1Supply supply = area1Supply(capacity, capability, load, load1);
    if (!isLossOfLoad(supply.available, load1)) return;
    if (supply.transfer == capability) state.atcLimitedLolHours[row - 1] += 1.0;
    countLossHour(supply.available, load1, state.area1, tally);
    tallyLossHour(hourIndex, supply.available, load1, state.byMonthHour.area1);
}

// Whether either test counts the hour.
inline bool isLossHour(HourCapacity capacity, double capability, float load, float load1) {
    return isLossOfLoad(capacity.system, load) ||
           isLossOfLoad(area1Supply(capacity, capability, load, load1).available, load1);
}

inline void closeYear(const DayTally& tally, AreaCounters& counters) {
    counters.lolDays += tally.days;
    if (tally.days == 0) counters.lolFreeYears += 1.0;
}

}  // namespace adequacy
