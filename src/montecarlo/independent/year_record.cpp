#include "montecarlo/independent/year_record.hpp"

#include "direct/annual_indices.hpp"
#include "montecarlo/loss_of_load.hpp"

namespace adequacy::independent {
namespace {

// One area's year as it goes: the classic counters of this year alone, which
// the run's totals then take whole, so that a total is the sum of its years'
// figures in year order.
struct AreaYear {
    AreaCounters counters{};
    DayTally tally;
    int lastLossHour = -2;
    int events = 0;
    int peakDays = 0;
};

void countHour(int hour, float available, float load, const DailyPeakHours& peakHours,
               MonthHourTally& byMonthHour, AreaYear& year) {
    countLossHour(available, load, year.counters, year.tally);
    tallyLossHour(hour, available, load, byMonthHour);
    if (hour != year.lastLossHour + 1) ++year.events;
    year.lastLossHour = hour;
    const int day = hour / hoursPerDay + 1;
    if (isPeakHour(peakHours, day, hour % hoursPerDay + 1)) ++year.peakDays;
}

void closeAreaYear(AreaYear& year, int index, AreaCounters& counters, AreaYears& years) {
    closeYear(year.tally, year.counters);
    counters.lolHours += year.counters.lolHours;
    counters.lolDays += year.counters.lolDays;
    counters.lolFreeYears += year.counters.lolFreeYears;
    counters.unservedEnergy += year.counters.unservedEnergy;
    years.lolHours[static_cast<std::size_t>(index)] = static_cast<float>(year.counters.lolHours);
    years.unservedMwh[static_cast<std::size_t>(index)] =
        static_cast<float>(year.counters.unservedEnergy);
    years.events += year.events;
    years.peakHourDays += year.peakDays;
    years.peakHourDaysSquared += static_cast<double>(year.peakDays) * year.peakDays;
}

}  // namespace

RunYears runYears(int years) {
    const auto n = static_cast<std::size_t>(years);
    RunYears run;
    for (AreaYears* area : {&run.system, &run.area1}) {
        area->lolHours.assign(n, 0.0f);
        area->unservedMwh.assign(n, 0.0f);
    }
    return run;
}

void recordYear(const YearOutcome& outcome, const HourlyLoads& loads, SimulationState& state,
                RunYears& years) {
    const int index = state.yearCount;
    state.yearCount += 1;
    AreaYear system;
    AreaYear area1;
    int day = -1;
    for (const LossHour& loss : outcome.losses) {
        if (loss.hour / hoursPerDay != day) {
            day = loss.hour / hoursPerDay;
            system.tally.today = false;
            area1.tally.today = false;
        }
        const auto h = static_cast<std::size_t>(loss.hour);
        if (loss.systemShort)
            countHour(loss.hour, loss.systemAvailable, loads.total[h], loads.totalPeakHour,
                      state.byMonthHour.system, system);
        if (loss.area1Short) {
            if (loss.tieLimited)
                state.atcLimitedLolHours[static_cast<std::size_t>(loss.row - 1)] += 1.0;
            countHour(loss.hour, loss.area1Available, loads.area1[h], loads.area1PeakHour,
                      state.byMonthHour.area1, area1);
        }
    }
    closeAreaYear(system, index, state.system, years.system);
    closeAreaYear(area1, index, state.area1, years.area1);
    for (std::size_t row = 0; row < outcome.tieHours.size(); ++row)
        state.tie.atcStateHours[row] += outcome.tieHours[row];
}

}  // namespace adequacy::independent
