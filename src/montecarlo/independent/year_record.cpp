#include "montecarlo/independent/year_record.hpp"

#include <algorithm>

#include "direct/annual_indices.hpp"
#include "montecarlo/independent/year_steps.hpp"

namespace adequacy::independent {
namespace {

struct AreaYear {
    AreaYearFigures figures;
    int lastLossHour = -2;
    int lastLossDay = -1;
};

void countHour(int hour, float available, float load, const DailyPeakHours& peakHours,
               ExactMonthHour& byMonthHour, AreaYear& year) {
    const std::int64_t units = toUnits(static_cast<double>(load) - static_cast<double>(available));
    const auto cell = static_cast<std::size_t>(monthHourCell(hour));
    byMonthHour.lolHours[cell] += 1;
    byMonthHour.unservedUnits[cell] += units;
    AreaYearFigures& f = year.figures;
    f.lolHours += 1;
    f.unservedUnits += units;
    if (hour != year.lastLossHour + 1) ++f.events;
    year.lastLossHour = hour;
    const int day = hour / hoursPerDay;
    if (day != year.lastLossDay) ++f.lolDays;
    year.lastLossDay = day;
    if (isPeakHour(peakHours, day + 1, hour % hoursPerDay + 1)) ++f.peakHourDays;
}

void addArea(const AreaYearFigures& f, ExactUnits& unserved, AreaCounters& counters) {
    unserved += f.unservedUnits;
    counters.lolHours += f.lolHours;
    counters.lolDays += f.lolDays;
    if (f.lolDays == 0) counters.lolFreeYears += 1.0;
    counters.unservedEnergy = toMwh(unserved);
}

void settle(const ExactMonthHour& exact, MonthHourTally& tally) {
    for (std::size_t cell = 0; cell < exact.lolHours.size(); ++cell) {
        tally.lolHours[cell] = static_cast<double>(exact.lolHours[cell]);
        tally.unservedMwh[cell] = toMwh(exact.unservedUnits[cell]);
    }
}

}  // namespace

RunYears runYears(std::uint64_t firstYear, int years, RunCases cases) {
    RunYears run;
    run.firstYear = firstYear;
    run.cases = std::move(cases);
    const auto steps = static_cast<std::size_t>(run.cases.stepCount());
    run.years.reserve(static_cast<std::size_t>(years) * steps);
    if (steps > 1) run.stepTotals.resize(steps);
    return run;
}

void stepFigures(const YearOutcome& outcome, const StepLoads& loads, RunYears& run,
                 std::span<YearFigures> into) {
    std::array<AreaYear, maxForecastSteps> system{};
    std::array<AreaYear, maxForecastSteps> area1{};
    const bool single = run.stepTotals.empty();
    std::fill(into.begin(), into.end(), YearFigures{});
    for (const LossHour& loss : outcome.losses) {
        const auto h = static_cast<std::size_t>(loss.hour);
        const HourlyLoads& l = *loads.steps[loss.step];
        StepTotals* totals = single ? nullptr : &run.stepTotals[loss.step];
        if (loss.systemShort)
            countHour(loss.hour, loss.systemAvailable, l.total[h], l.totalPeakHour,
                      single ? run.systemByMonthHour : totals->systemByMonthHour,
                      system[loss.step]);
        if (!loss.area1Short) continue;
        if (loss.tieLimited)
            into[loss.step].tieLimitedHours[static_cast<std::size_t>(loss.row - 1)] += 1;
        countHour(loss.hour, loss.area1Available, l.area1[h], l.area1PeakHour,
                  single ? run.area1ByMonthHour : totals->area1ByMonthHour, area1[loss.step]);
    }
    for (std::size_t s = 0; s < into.size(); ++s) {
        YearFigures& figures = into[s];
        figures.system = system[s].figures;
        figures.area1 = area1[s].figures;
        figures.weatherYear = static_cast<std::uint16_t>(outcome.weatherYear);
        for (std::size_t row = 0; row < figures.tieHours.size(); ++row)
            figures.tieHours[row] = static_cast<std::uint16_t>(outcome.tieHours[row]);
    }
}

YearFigures yearFigures(const YearOutcome& outcome, const HourlyLoads& loads, RunYears& run) {
    StepLoads steps;
    steps.steps[0] = &loads;
    YearFigures figures;
    stepFigures(outcome, steps, run, std::span(&figures, 1));
    return figures;
}

void addYear(const YearFigures& figures, RunYears& run, SimulationState& state) {
    run.years.push_back(figures);
    state.yearCount += 1;
    addArea(figures.system, run.systemUnserved, state.system);
    addArea(figures.area1, run.area1Unserved, state.area1);
    for (std::size_t row = 0; row < figures.tieHours.size(); ++row) {
        state.tie.atcStateHours[row] += figures.tieHours[row];
        state.atcLimitedLolHours[row] += figures.tieLimitedHours[row];
    }
}

void settleMonthHour(const RunYears& run, SimulationState& state) {
    if (!run.stepTotals.empty()) {
        settleWeightedMonthHour(run, state);
        return;
    }
    settle(run.systemByMonthHour, state.byMonthHour.system);
    settle(run.area1ByMonthHour, state.byMonthHour.area1);
}

}  // namespace adequacy::independent
