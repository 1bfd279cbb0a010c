#include "montecarlo/fast/fast_year.hpp"

#include "montecarlo/loss_of_load.hpp"

namespace adequacy {

void testHour(const SimulationInputs& inputs, HourCapacity capacity, int index,
              SimulationState& state, YearTallies& tallies) {
    const int day = index / hoursPerDay;
    if (day != tallies.day) {
        tallies.system.today = false;
        tallies.area1.today = false;
        tallies.day = day;
    }
    const float load = inputs.loads.total[index];
    const float load1 = inputs.loads.area1[index];
    testSystem(capacity.system, load, index, state, tallies.system);
    testArea1(inputs.atc, capacity, load, load1, index, state, tallies.area1);
}

std::optional<YearRecords> advanceYearFast(const SimulationInputs& inputs, const FastYearPlan& plan,
                                           SimulationState& state) {
    if (!plan.exactCapacities || !plan.fitsLanes) return advanceYear(inputs, state);
    return plan.steps.year(inputs, plan, state);
}

}  // namespace adequacy
