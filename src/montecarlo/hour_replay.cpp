#include "montecarlo/hour_replay.hpp"

#include "montecarlo/lcg_jump.hpp"
#include "montecarlo/tie.hpp"
#include "montecarlo/units.hpp"

namespace adequacy {

namespace {

bool tookSecondDraw(std::uint32_t before, std::uint32_t after) {
    return after != seedAfter(before, 1);
}

void changeUnit(const SimulationInputs& inputs, const FastYearPlan& plan, int unit, int next,
                LaneState& lanes, SimulationState& state) {
    const int type = typeOfUnit(unit);
    const int change = availableMw(inputs.units, type, next) -
                       availableMw(inputs.units, type, state.unitState[unit]);
    lanes.systemMw += change;
    if (unit < area1UnitCount) lanes.area1Mw += change;
    state.unitState[unit] = next;
    lanes.thresholds.draws[unit] = unitThreshold(plan, unit, next);
}

}  // namespace

bool replayHour(const SimulationInputs& inputs, const FastYearPlan& plan, LaneMask fired,
                LaneState& lanes, SimulationState& state) {
    const std::uint32_t hourSeed = state.ranSeed;
    int shift = 0;
    while (!fired.none()) {
        const int lane = fired.lowest();
        fired.clear(lane);
        std::uint32_t seed = seedAfter(hourSeed, lane + shift);
        const std::uint32_t before = seed;
        if (lane == tieLane) {
            // The last lane of the hour: its step counts the hour as well.
            const bool stepped = advanceTie(inputs.atc, inputs.probabilities, state.tie, seed);
            lanes.thresholds.draws[tieLane] = tieThreshold(plan, state.tie.atcState);
            state.ranSeed = seed;
            return stepped;
        }
        const int type = typeOfUnit(lane);
        const int next = nextUnitState(
            state.unitState[lane], inputs.probabilities.unitFailProb[lane],
            inputs.probabilities.unitRepairProb[lane], inputs.units.deratedProbability[type], seed);
        if (next != state.unitState[lane]) changeUnit(inputs, plan, lane, next, lanes, state);
        if (tookSecondDraw(before, seed)) {
            shift += 1;
            fired = plan.checks.check(lanes.thresholds, hourSeed, shift).after(lane);
        }
    }
    state.tie.atcStateHours[state.tie.atcState - 1] += 1.0;
    state.ranSeed = seedAfter(hourSeed, hourDraws + shift);
    return true;
}

}  // namespace adequacy
