#pragma once
// A simulated year as figures of its own, and the run's totals as the sums
// of those figures in year order: the totals then depend only on the years,
// not on the threads that simulated them, nor on the machines, since the
// figures of years simulated apart put together give the same sums. Beside
// the classic totals they keep what independent years make exact: each
// year's own figures, the loss-of-load events and the days short at their
// peak hour.

#include <array>
#include <cstdint>
#include <vector>

#include "model/calendar.hpp"
#include "model/loads.hpp"
#include "montecarlo/independent/exact_mwh.hpp"
#include "montecarlo/independent/year_events.hpp"
#include "montecarlo/state.hpp"

namespace adequacy::independent {

struct AreaYearFigures {
    std::uint16_t lolHours = 0;
    std::uint16_t lolDays = 0;
    std::uint16_t peakHourDays = 0;  // days short at the day's peak hour
    std::uint16_t events = 0;        // runs of consecutive short hours
    std::int64_t unservedUnits = 0;  // see exact_mwh.hpp
};

struct YearFigures {
    AreaYearFigures system;
    AreaYearFigures area1;
    std::array<std::uint16_t, atcTieStates> tieHours{};
    std::array<std::uint16_t, atcTieStates> tieLimitedHours{};  // area 1 short at full import
};

// Where in the year the losses fall, summed exactly.
struct ExactMonthHour {
    std::array<std::int64_t, monthHourCells> lolHours{};
    std::array<ExactUnits, monthHourCells> unservedUnits{};
};

struct RunYears {
    std::uint64_t firstYear = 1;
    std::vector<YearFigures> years;  // in year order; room for the run's years
    ExactUnits systemUnserved = 0;
    ExactUnits area1Unserved = 0;
    ExactMonthHour systemByMonthHour;
    ExactMonthHour area1ByMonthHour;
};

RunYears runYears(std::uint64_t firstYear, int years);

// The figures of a simulated year; its losses go to the month x hour sums.
YearFigures yearFigures(const YearOutcome& outcome, const HourlyLoads& loads, RunYears& run);

// Adds the next year's figures to the run and to the classic totals.
void addYear(const YearFigures& figures, RunYears& run, SimulationState& state);

// The classic month x hour tallies from the exact sums, before a report.
void settleMonthHour(const RunYears& run, SimulationState& state);

}  // namespace adequacy::independent
