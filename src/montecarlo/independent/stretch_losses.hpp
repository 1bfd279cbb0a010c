#pragma once
// The hours of a stretch between two events, tested at the capacities in
// force: the stretch is passed whole when its largest load is covered,
// else tested hour by hour at every step of the load forecast.

#include "montecarlo/independent/year_events.hpp"

namespace adequacy::independent {

// Whole MW of the whole system and area 1, and the tie's row.
struct StretchCapacity {
    long long system;
    long long area1;
    int row;
};

// The loads of a plain system: its one year at the forecast.
StepLoads plainLoads(const YearModel& model);

// Records the hours of [first, end) short, or near it, in `outcome`.
void testStretch(const YearModel& model, const StepLoads& loads, StretchCapacity c, int first,
                 int end, YearOutcome& outcome);

}  // namespace adequacy::independent
