#include "montecarlo/independent/year_steps.hpp"

#include <vector>

namespace adequacy::independent {
namespace {

void addArea(const AreaYearFigures& f, AreaTotals& totals) {
    totals.lolHours += f.lolHours;
    totals.lolDays += f.lolDays;
    if (f.lolDays == 0) totals.lolFreeYears += 1;
    totals.unserved += f.unservedUnits;
}

AreaCounters weightedCounters(const RunYears& run, AreaTotals StepTotals::*side) {
    AreaCounters counters{};
    for (std::size_t s = 0; s < run.stepTotals.size(); ++s) {
        const double weight = run.cases.steps[s].weight;
        const AreaTotals& totals = run.stepTotals[s].*side;
        counters.lolHours += weight * static_cast<double>(totals.lolHours);
        counters.lolDays += weight * static_cast<double>(totals.lolDays);
        counters.lolFreeYears += weight * static_cast<double>(totals.lolFreeYears);
        counters.unservedEnergy += weight * toMwh(totals.unserved);
    }
    return counters;
}

void settleWeighted(const RunYears& run, ExactMonthHour StepTotals::*side, MonthHourTally& tally) {
    for (std::size_t cell = 0; cell < tally.lolHours.size(); ++cell) {
        double hours = 0.0;
        double mwh = 0.0;
        for (std::size_t s = 0; s < run.stepTotals.size(); ++s) {
            const double weight = run.cases.steps[s].weight;
            const ExactMonthHour& exact = run.stepTotals[s].*side;
            hours += weight * static_cast<double>(exact.lolHours[cell]);
            mwh += weight * toMwh(exact.unservedUnits[cell]);
        }
        tally.lolHours[cell] = hours;
        tally.unservedMwh[cell] = mwh;
    }
}

}  // namespace

void addYear(std::span<const YearFigures> steps, RunYears& run, SimulationState& state) {
    if (steps.size() == 1) {
        addYear(steps.front(), run, state);
        return;
    }
    run.years.insert(run.years.end(), steps.begin(), steps.end());
    state.yearCount += 1;
    for (std::size_t s = 0; s < steps.size(); ++s) {
        StepTotals& totals = run.stepTotals[s];
        addArea(steps[s].system, totals.system);
        addArea(steps[s].area1, totals.area1);
        for (std::size_t row = 0; row < totals.tieLimitedHours.size(); ++row)
            totals.tieLimitedHours[row] += steps[s].tieLimitedHours[row];
    }
    state.system = weightedCounters(run, &StepTotals::system);
    state.area1 = weightedCounters(run, &StepTotals::area1);
    for (std::size_t row = 0; row < atcTieStates; ++row) {
        state.tie.atcStateHours[row] += steps.front().tieHours[row];
        double limited = 0.0;
        for (std::size_t s = 0; s < steps.size(); ++s)
            limited += run.cases.steps[s].weight *
                       static_cast<double>(run.stepTotals[s].tieLimitedHours[row]);
        state.atcLimitedLolHours[row] = limited;
    }
}

void settleWeightedMonthHour(const RunYears& run, SimulationState& state) {
    settleWeighted(run, &StepTotals::systemByMonthHour, state.byMonthHour.system);
    settleWeighted(run, &StepTotals::area1ByMonthHour, state.byMonthHour.area1);
}

double area1DemandMwh(const RunYears& run) {
    const std::size_t years = run.yearCount();
    if (!run.cases.varying() || years == 0) return 0.0;
    std::vector<long long> counts(run.cases.area1DemandMwh.size(), 0);
    const auto steps = static_cast<std::size_t>(run.cases.stepCount());
    for (std::size_t y = 0; y < years; ++y) counts[run.years[y * steps].weatherYear] += 1;
    double demand = 0.0;
    for (std::size_t w = 0; w < counts.size(); ++w)
        demand += static_cast<double>(counts[w]) * run.cases.area1DemandMwh[w];
    return demand / static_cast<double>(years);
}

}  // namespace adequacy::independent
