#pragma once
// A year evaluated at every step of the load forecast counts at each step
// with the step's weight. The exact sums stay per step, integers as for a
// single step; the weights combine them only where a figure is shown, in
// a fixed order, so the figures stay the same for any threads and for runs
// put together.

#include <cstddef>
#include <span>

#include "montecarlo/independent/year_record.hpp"

namespace adequacy::independent {

// Adds a year's figures, one per step, to the run and to the classic totals.
void addYear(std::span<const YearFigures> steps, RunYears& run, SimulationState& state);

// The classic month x hour tallies, weighted over the steps.
void settleWeightedMonthHour(const RunYears& run, SimulationState& state);

// Year y's value of `value(figures)` over its steps, each at its weight; a
// single step's value as it is.
template <typename Value>
double weightedValue(const RunYears& run, std::size_t year, Value&& value) {
    const auto steps = static_cast<std::size_t>(run.cases.stepCount());
    if (steps == 1) return static_cast<double>(value(run.years[year]));
    double sum = 0.0;
    for (std::size_t s = 0; s < steps; ++s)
        sum += run.cases.steps[s].weight * static_cast<double>(value(run.years[year * steps + s]));
    return sum;
}

// Area 1's energy demand a year on average over the years so far, in the
// weather years they took (MWh); 0 for a plain system.
double area1DemandMwh(const RunYears& run);

}  // namespace adequacy::independent
