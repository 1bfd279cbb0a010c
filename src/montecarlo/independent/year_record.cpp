#include "montecarlo/independent/year_record.hpp"

#include "direct/annual_indices.hpp"

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

RunYears runYears(std::uint64_t firstYear, int years) {
    RunYears run;
    run.firstYear = firstYear;
    run.years.reserve(static_cast<std::size_t>(years));
    return run;
}

YearFigures yearFigures(const YearOutcome& outcome, const HourlyLoads& loads, RunYears& run) {
    AreaYear system;
    AreaYear area1;
    YearFigures figures;
    for (const LossHour& loss : outcome.losses) {
        const auto h = static_cast<std::size_t>(loss.hour);
        if (loss.systemShort)
            countHour(loss.hour, loss.systemAvailable, loads.total[h], loads.totalPeakHour,
                      run.systemByMonthHour, system);
        if (!loss.area1Short) continue;
        if (loss.tieLimited) figures.tieLimitedHours[static_cast<std::size_t>(loss.row - 1)] += 1;
        countHour(loss.hour, loss.area1Available, loads.area1[h], loads.area1PeakHour,
                  run.area1ByMonthHour, area1);
    }
    figures.system = system.figures;
    figures.area1 = area1.figures;
    for (std::size_t row = 0; row < figures.tieHours.size(); ++row)
        figures.tieHours[row] = static_cast<std::uint16_t>(outcome.tieHours[row]);
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
    settle(run.systemByMonthHour, state.byMonthHour.system);
    settle(run.area1ByMonthHour, state.byMonthHour.area1);
}

}  // namespace adequacy::independent
