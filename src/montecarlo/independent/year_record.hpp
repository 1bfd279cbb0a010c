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
#include <span>
#include <vector>

#include "model/calendar.hpp"
#include "model/loads.hpp"
#include "montecarlo/independent/exact_mwh.hpp"
#include "montecarlo/independent/run_cases.hpp"
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
    std::uint16_t weatherYear = 0;                              // 0-based
};

// Where in the year the losses fall, summed exactly.
struct ExactMonthHour {
    std::array<std::int64_t, monthHourCells> lolHours{};
    std::array<ExactUnits, monthHourCells> unservedUnits{};
};

// One forecast step's exact sums over the years so far.
struct AreaTotals {
    std::int64_t lolHours = 0;
    std::int64_t lolDays = 0;
    std::int64_t lolFreeYears = 0;
    ExactUnits unserved = 0;
};
struct StepTotals {
    AreaTotals system;
    AreaTotals area1;
    std::array<std::int64_t, atcTieStates> tieLimitedHours{};
    ExactMonthHour systemByMonthHour;
    ExactMonthHour area1ByMonthHour;
};

struct RunYears {
    std::uint64_t firstYear = 1;
    // In year order, each year's steps in step order (one for most
    // systems); room for the run's years.
    std::vector<YearFigures> years;
    ExactUnits systemUnserved = 0;
    ExactUnits area1Unserved = 0;
    ExactMonthHour systemByMonthHour;  // of a single step
    ExactMonthHour area1ByMonthHour;
    RunCases cases;
    std::vector<StepTotals> stepTotals;  // with several steps, one for each

    std::size_t yearCount() const {
        return years.size() / static_cast<std::size_t>(cases.stepCount());
    }
};

RunYears runYears(std::uint64_t firstYear, int years, RunCases cases = {});

// The figures of a simulated year at each step of `loads`, one in `into`
// per step; its losses go to the month x hour sums.
void stepFigures(const YearOutcome& outcome, const StepLoads& loads, RunYears& run,
                 std::span<YearFigures> into);

// The figures of a simulated year of a single step.
YearFigures yearFigures(const YearOutcome& outcome, const HourlyLoads& loads, RunYears& run);

// Adds the next year's figures to the run and to the classic totals.
void addYear(const YearFigures& figures, RunYears& run, SimulationState& state);

// The classic month x hour tallies from the exact sums, before a report.
void settleMonthHour(const RunYears& run, SimulationState& state);

}  // namespace adequacy::independent
