#pragma once
// Adds a simulated year to the run's totals, by the classic simulation's
// own counting, in year order: the totals then depend only on the years, not
// on how many threads simulated them or in what order they finished. Beside
// the classic totals it keeps what independent years make exact: each year's
// own figures, the loss-of-load events and the days short at their peak hour.

#include <array>
#include <vector>

#include "model/loads.hpp"
#include "montecarlo/independent/year_events.hpp"
#include "montecarlo/state.hpp"

namespace adequacy::independent {

// Per area, over the years recorded so far.
struct AreaYears {
    std::vector<float> lolHours;       // one per year, allocated for the run
    std::vector<float> unservedMwh;    // one per year
    double events = 0.0;               // runs of consecutive loss-of-load hours
    double peakHourDays = 0.0;         // days short at the day's peak hour
    double peakHourDaysSquared = 0.0;  // sum over years of (days)^2
};

struct RunYears {
    AreaYears system;
    AreaYears area1;
};

// Sizes the per-year arrays for `years` years.
RunYears runYears(int years);

void recordYear(const YearOutcome& outcome, const HourlyLoads& loads, SimulationState& state,
                RunYears& years);

}  // namespace adequacy::independent
