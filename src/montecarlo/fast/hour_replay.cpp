#include "montecarlo/fast/hour_replay.hpp"

#include <bit>

#include "montecarlo/fast/lcg_jump.hpp"
#include "montecarlo/tie.hpp"
#include "montecarlo/units.hpp"

namespace adequacy {

namespace {

bool tookSecondDraw(std::uint32_t before, std::uint32_t after) {
    return after != seedAfter(before, 1);
}

void changeUnit(const SimulationInputs& inputs, const FastYearPlan& plan, int unit, int next,
                LaneState& lanes, SimulationState& state) {
    const int type = inputs.units.typeOf(unit);
    const int change = availableMw(inputs.units, type, next) -
                       availableMw(inputs.units, type, state.unitState[unit]);
    lanes.systemMw += change;
    if (unit < inputs.units.area1UnitCount) lanes.area1Mw += change;
    state.unitState[unit] = next;
    lanes.thresholds.draws[unit] = unitThreshold(plan, unit, next);
}

// The lanes of a word after bit `bit`.
std::uint64_t bitsAfter(int bit) { return bit == 63 ? 0 : ~std::uint64_t{0} << (bit + 1); }

}  // namespace

bool replayHour(const SimulationInputs& inputs, const FastYearPlan& plan, const QuietRun& run,
                LaneState& lanes, SimulationState& state) {
    const std::uint32_t hourSeed = state.ranSeed;
    const int tieLane = lanes.thresholds.tieLane;
    int shift = 0;
    for (int word = 0; word < laneWords(lanes.thresholds.lanes); ++word) {
        // The run's words hold until a second draw shifts the lanes.
        std::uint64_t fired = word < carriedWords && shift == 0
                                  ? run.fired[static_cast<std::size_t>(word)]
                                  : plan.checks.check(lanes.thresholds, hourSeed, shift, word);
        while (fired != 0) {
            const int bit = std::countr_zero(fired);
            const int lane = 64 * word + bit;
            fired &= fired - 1;
            std::uint32_t seed = seedAfter(hourSeed, lane + shift);
            const std::uint32_t before = seed;
            if (lane == tieLane) {
                // The last lane of the hour: its step counts the hour as well.
                const bool stepped = advanceTie(inputs.atc, inputs.probabilities, state.tie, seed);
                lanes.thresholds.draws[tieLane] = tieThreshold(plan, state.tie.atcState);
                state.ranSeed = seed;
                return stepped;
            }
            const int next =
                nextUnitState(state.unitState[lane], inputs.probabilities.unitFailProb[lane],
                              inputs.probabilities.unitRepairProb[lane],
                              inputs.probabilities.unitDeratedShare[lane], seed);
            if (next != state.unitState[lane]) changeUnit(inputs, plan, lane, next, lanes, state);
            if (tookSecondDraw(before, seed)) {
                shift += 1;
                fired = plan.checks.check(lanes.thresholds, hourSeed, shift, word) & bitsAfter(bit);
            }
        }
    }
    state.tie.atcStateHours[state.tie.atcState - 1] += 1.0;
    state.ranSeed = seedAfter(hourSeed, lanes.thresholds.hourDraws() + shift);
    return true;
}

}  // namespace adequacy
