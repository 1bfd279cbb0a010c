#include "montecarlo/independent/stretch_losses.hpp"

#include "montecarlo/loss_of_load.hpp"

namespace adequacy::independent {
namespace {

void testHour(const YearModel& model, HourCapacity capacity, double capability,
              const HourlyLoads& loads, int h, int step, int row, YearOutcome& outcome) {
    const float load = loads.total[static_cast<std::size_t>(h)];
    const float load1 = loads.area1[static_cast<std::size_t>(h)];
    const Area1Supply supply = area1Supply(capacity, capability, load, load1);
    const bool systemShort = isLossOfLoad(capacity.system, load);
    const bool area1Short = isLossOfLoad(supply.available, load1);
    if (systemShort || area1Short || isLossOfLoad(capacity.system, model.systemReach.at(load)) ||
        isLossOfLoad(supply.available, model.area1Reach.at(load1)))
        outcome.losses.push_back({h, row, capacity.system, supply.available, systemShort,
                                  area1Short, supply.transfer == capability,
                                  static_cast<std::uint8_t>(step)});
}

}  // namespace

StepLoads plainLoads(const YearModel& model) {
    StepLoads loads;
    loads.steps[0] = &model.loads;
    loads.totalPeaks = &model.totalPeaks;
    loads.area1Peaks = &model.area1Peaks;
    loads.totalPeak = model.loads.totalPeak;
    loads.area1Peak = model.loads.area1Peak;
    return loads;
}

// Tests hours [first, end) at the capacities in force, at every step.
void testStretch(const YearModel& model, const StepLoads& loads, StretchCapacity c, int first,
                 int end, YearOutcome& outcome) {
    const HourCapacity capacity{static_cast<float>(c.system), static_cast<float>(c.area1)};
    // Area 1 never has less than its own capacity, so both tests pass the
    // whole stretch when their capacity covers its largest load: the year's
    // peaks first, which spares the lookup in most stretches.
    const LoadReach& reach = model.systemReach;
    const LoadReach& reach1 = model.area1Reach;
    const bool systemClear =
        !isLossOfLoad(capacity.system, reach.at(loads.totalPeak)) ||
        !isLossOfLoad(capacity.system, reach.at(loads.totalPeaks->max(first, end)));
    if (systemClear &&
        (!isLossOfLoad(capacity.area1, reach1.at(loads.area1Peak)) ||
         !isLossOfLoad(capacity.area1, reach1.at(loads.area1Peaks->max(first, end)))))
        return;
    const double capability = model.chains.tie.atc.mw[static_cast<std::size_t>(c.row - 1)];
    for (int h = first; h < end; ++h)
        for (int s = 0; s < loads.count; ++s)
            testHour(model, capacity, capability, *loads.steps[static_cast<std::size_t>(s)], h, s,
                     c.row, outcome);
}

}  // namespace adequacy::independent
