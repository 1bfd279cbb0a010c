#pragma once
// The fast year loop, written once and compiled into each instruction set's
// checks file with that set's target, where it is made of that set's checks
// (ChecksOf below): the replay of an hour with events re-checks its lanes
// without a call through a pointer, and the scan that follows an event can
// be inlined into the loop of the year.
//
// The includer defines ADEQUACY_CHECKS_TARGET (its function attribute) and
// includes every header below before it; what is defined here lives in an
// unnamed namespace, so each file's copy keeps its own instruction set.

#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <type_traits>

#include "montecarlo/fast/draw_threshold.hpp"
#include "montecarlo/fast/fast_year.hpp"
#include "montecarlo/fast/lcg_jump.hpp"
#include "montecarlo/loss_of_load.hpp"
#include "montecarlo/tie.hpp"
#include "montecarlo/units.hpp"
#include "montecarlo/year.hpp"

#ifndef ADEQUACY_CHECKS_TARGET
#error "define ADEQUACY_CHECKS_TARGET before including year_steps.hpp"
#endif

namespace adequacy {
namespace {

ADEQUACY_CHECKS_TARGET inline void writeThreshold(LaneThresholds& thresholds, int lane,
                                                  std::int32_t draws) {
    thresholds.draws[static_cast<std::size_t>(lane)] = draws;
}

// The checks of one instruction set as the loop below takes them: the scan
// of quiet hours and the check of a word of lanes (QuietScan and HourCheck in
// hour_lanes.hpp), how a lane's threshold is written, and, for hours of at
// most two words, the check of the lanes after a given one (by default made
// of word checks).
template <auto scanHours, auto checkWord, auto setLaneThreshold = writeThreshold,
          auto checkLanesAfter = nullptr>
struct ChecksOf {
    ADEQUACY_CHECKS_TARGET static QuietRun scan(const LaneThresholds& thresholds,
                                                std::uint32_t hourSeed, int limit) {
        return scanHours(thresholds, hourSeed, limit);
    }
    ADEQUACY_CHECKS_TARGET static std::uint64_t check(const LaneThresholds& thresholds,
                                                      std::uint32_t hourSeed, int shift, int word) {
        return checkWord(thresholds, hourSeed, shift, word);
    }
    ADEQUACY_CHECKS_TARGET static void setThreshold(LaneThresholds& thresholds, int lane,
                                                    std::int32_t draws) {
        setLaneThreshold(thresholds, lane, draws);
    }
    ADEQUACY_CHECKS_TARGET static LaneWords checkAfter(const LaneThresholds& thresholds,
                                                       std::uint32_t hourSeed, int shift, int lane);
};

// Puts the unit in state `next`, which may be the one it is in.
template <class Checks>
ADEQUACY_CHECKS_TARGET inline void changeUnit(const SimulationInputs& inputs,
                                              const FastYearPlan& plan, int unit, int next,
                                              LaneState& lanes, SimulationState& state) {
    const FastYearPlan::UnitLane& lane = plan.unitLanes[static_cast<std::size_t>(unit)];
    const int change = lane.mw[static_cast<std::size_t>(next)] -
                       lane.mw[static_cast<std::size_t>(state.unitState[unit])];
    lanes.systemMw += change;
    // Area 1 holds a few units in the built-in system: a branch on it would
    // be mispredicted at about one event in ten.
    lanes.area1Mw += change & -static_cast<int>(unit < inputs.units.area1UnitCount);
    state.unitState[unit] = next;
    Checks::setThreshold(lanes.thresholds, unit, lane.draws[static_cast<std::size_t>(next)]);
}

// The lanes of a word after bit `bit`.
ADEQUACY_CHECKS_TARGET inline std::uint64_t bitsAfter(int bit) {
    return bit == 63 ? 0 : ~std::uint64_t{0} << (bit + 1);
}

// The lanes after `lane` among the first two words that fire with the given
// shift, from a check of whole words.
template <class Checks>
ADEQUACY_CHECKS_TARGET LaneWords wordsAfter(const LaneThresholds& thresholds,
                                            std::uint32_t hourSeed, int shift, int lane) {
    LaneWords fired{0, 0};
    if (lane < 64) fired.low = Checks::check(thresholds, hourSeed, shift, 0);
    if (thresholds.lanes > 64) fired.high = Checks::check(thresholds, hourSeed, shift, 1);
    return fired.after(lane);
}

template <auto scanHours, auto checkWord, auto setLaneThreshold, auto checkLanesAfter>
ADEQUACY_CHECKS_TARGET LaneWords
ChecksOf<scanHours, checkWord, setLaneThreshold, checkLanesAfter>::checkAfter(
    const LaneThresholds& thresholds, std::uint32_t hourSeed, int shift, int lane) {
    if constexpr (std::is_same_v<decltype(checkLanesAfter), std::nullptr_t>)
        return wordsAfter<ChecksOf>(thresholds, hourSeed, shift, lane);
    else
        return checkLanesAfter(thresholds, hourSeed, shift, lane);
}

// The tie's step ends the hour: it counts the hour as well.
template <class Checks>
ADEQUACY_CHECKS_TARGET bool stepTie(const SimulationInputs& inputs, const FastYearPlan& plan,
                                    std::uint32_t seed, LaneState& lanes, SimulationState& state) {
    const bool stepped = advanceTie(inputs.atc, inputs.probabilities, state.tie, seed);
    Checks::setThreshold(lanes.thresholds, lanes.thresholds.tieLane,
                         tieThreshold(plan, state.tie.atcState));
    state.ranSeed = seed;
    return stepped;
}

// Steps the unit of a lane that fired, from the seed before its draw, and
// tells whether it took a second draw. A lane fires exactly when its draw
// changes its unit (draw_threshold.hpp), so the draw itself need not be
// looked at: an up unit fails, and draws again to choose between derated and
// out, as nextUnitState does; any other unit returns to service. Failures and
// repairs come about equally often, in no order a predictor could learn, so
// the second draw is looked at either way and the next state chosen from it
// without a branch.
template <class Checks>
ADEQUACY_CHECKS_TARGET inline bool stepFiredUnit(const SimulationInputs& inputs,
                                                 const FastYearPlan& plan, int lane,
                                                 std::uint32_t seed, LaneState& lanes,
                                                 SimulationState& state) {
    const int fails = state.unitState[lane] == unitUp ? 1 : 0;
    const std::int32_t derated = plan.unitLanes[static_cast<std::size_t>(lane)].deratedDraws;
    const int derates = drawFires(seedAfter(seed, 2), derated) ? 1 : 0;
    // As arithmetic, which GCC keeps; a select it turns into a branch, with
    // the rest of the replay copied behind it.
    static_assert(unitOut == 0 && unitUp == 1 && unitDerated == 2);
    const int next = (1 - fails) + 2 * (fails & derates);
    changeUnit<Checks>(inputs, plan, lane, next, lanes, state);
    return fails != 0;
}

// The hour's end when no tie step ended it.
ADEQUACY_CHECKS_TARGET inline void closeHour(std::uint32_t hourSeed, int shift,
                                             const LaneState& lanes, SimulationState& state) {
    state.tie.atcStateHours[state.tie.atcState - 1] += 1.0;
    state.ranSeed = seedAfter(hourSeed, lanes.thresholds.hourDraws() + shift);
}

// An hour of at most two words of lanes, as replayHour below, with both
// words taken as one set of lanes: after a second draw only the lanes that
// follow are checked again.
template <class Checks>
ADEQUACY_CHECKS_TARGET bool replaySmallHour(const SimulationInputs& inputs,
                                            const FastYearPlan& plan, const QuietRun& run,
                                            LaneState& lanes, SimulationState& state) {
    const std::uint32_t hourSeed = state.ranSeed;
    const int tieLane = lanes.thresholds.tieLane;
    int shift = 0;
    LaneWords fired{run.fired[0], run.fired[1]};
    while ((fired.low | fired.high) != 0) {
        const int lane = fired.first();
        fired.dropFirst();
        const std::uint32_t seed = seedAfter(hourSeed, lane + shift);
        if (lane == tieLane) return stepTie<Checks>(inputs, plan, seed, lanes, state);
        if (stepFiredUnit<Checks>(inputs, plan, lane, seed, lanes, state)) {
            shift += 1;
            fired = Checks::checkAfter(lanes.thresholds, hourSeed, shift, lane);
        }
    }
    closeHour(hourSeed, shift, lanes, state);
    return true;
}

// Steps the firing lanes of the hour after `run` in order from the seed in
// `state`, which is the run's: a repair changes its unit only, a failure (or
// the tie leaving row 1) takes a second draw and so shifts every later lane
// by one position, which are checked again. Leaves the seed after the hour's
// last draw. False, as advanceTie, when the tie had nowhere to go.
template <class Checks>
ADEQUACY_CHECKS_TARGET bool replayHour(const SimulationInputs& inputs, const FastYearPlan& plan,
                                       const QuietRun& run, LaneState& lanes,
                                       SimulationState& state) {
    if (laneWords(lanes.thresholds.lanes) <= carriedWords)
        return replaySmallHour<Checks>(inputs, plan, run, lanes, state);
    const std::uint32_t hourSeed = state.ranSeed;
    const int tieLane = lanes.thresholds.tieLane;
    int shift = 0;
    for (int word = 0; word < laneWords(lanes.thresholds.lanes); ++word) {
        // The run's words hold until a second draw shifts the lanes.
        std::uint64_t fired = word < carriedWords && shift == 0
                                  ? run.fired[static_cast<std::size_t>(word)]
                                  : Checks::check(lanes.thresholds, hourSeed, shift, word);
        while (fired != 0) {
            const int bit = std::countr_zero(fired);
            const int lane = 64 * word + bit;
            fired &= fired - 1;
            const std::uint32_t seed = seedAfter(hourSeed, lane + shift);
            if (lane == tieLane) return stepTie<Checks>(inputs, plan, seed, lanes, state);
            if (stepFiredUnit<Checks>(inputs, plan, lane, seed, lanes, state)) {
                shift += 1;
                fired = Checks::check(lanes.thresholds, hourSeed, shift, word) & bitsAfter(bit);
            }
        }
    }
    closeHour(hourSeed, shift, lanes, state);
    return true;
}

// testHours for capacities that may fall short, out of line: a call costs
// the AVX-512 year the vectors it keeps in registers.
[[gnu::noinline]] ADEQUACY_CHECKS_TARGET void testNearPeaks(const SimulationInputs& inputs,
                                                            const FastYearPlan& plan,
                                                            const LaneState& lanes, int begin,
                                                            int end, SimulationState& state,
                                                            YearTallies& tallies) {
    const HourCapacity capacity = capacityOf(lanes);
    const double capability = inputs.atc.mw[state.tie.atcState - 1];
    if (coversPeaks(plan.peaks, capacity, capability)) return;
    for (int index = plan.checks.losses(capacity, capability, inputs.loads, begin, end);
         index < end;
         index = plan.checks.losses(capacity, capability, inputs.loads, index + 1, end)) {
        testHour(inputs, capacity, index, state, tallies);
    }
}

// The loss-of-load tests of the hours [begin, end) of the year, through which
// the available MW and the tie stay as they are. Only the hours that a test
// counts are visited; a day's flags, which only those hours read, are reset
// when the first of them in a new day comes.
ADEQUACY_CHECKS_TARGET inline void testHours(const SimulationInputs& inputs,
                                             const FastYearPlan& plan, const LaneState& lanes,
                                             int begin, int end, SimulationState& state,
                                             YearTallies& tallies) {
    if (surelyCovers(plan.cover, lanes.systemMw, lanes.area1Mw, state.tie.atcState)) return;
    testNearPeaks(inputs, plan, lanes, begin, end, state, tallies);
}

// After the replay of the hour at `index`, which opens the next stretch:
// steps past it, and at the end of the year tests that last stretch of one
// hour and tells so.
ADEQUACY_CHECKS_TARGET inline bool endsYearAfterEvent(const SimulationInputs& inputs,
                                                      const FastYearPlan& plan,
                                                      const LaneState& lanes, int& index,
                                                      int& tested, SimulationState& state,
                                                      YearTallies& tallies) {
    tested = index;
    index += 1;
    if (index < hoursPerYear) return false;
    testHours(inputs, plan, lanes, tested, index, state, tallies);
    return true;
}

ADEQUACY_CHECKS_TARGET inline std::optional<YearRecords> closeFastYear(const YearTallies& tallies,
                                                                       SimulationState& state) {
    closeYear(tallies.system, state.system);
    closeYear(tallies.area1, state.area1);
    return yearRecords(state);
}

// Simulates one more year, as advanceYear does, for a plan whose system the
// lanes hold.
template <class Checks>
ADEQUACY_CHECKS_TARGET std::optional<YearRecords> fastYear(const SimulationInputs& inputs,
                                                           const FastYearPlan& plan,
                                                           SimulationState& state) {
    LaneState lanes = laneState(inputs, plan, state);
    state.yearCount += 1;
    YearTallies tallies;
    // An hour with events has the units and tie of the run after it, and is
    // tested with that run.
    for (int index = 0, tested = 0;;) {
        const QuietRun run = Checks::scan(lanes.thresholds, state.ranSeed, hoursPerYear - index);
        state.ranSeed = run.seed;
        // Hour counts are whole numbers far below 2^53: adding a run of them
        // at once gives the sum of adding them one by one.
        state.tie.atcStateHours[state.tie.atcState - 1] += run.hours;
        index += run.hours;
        testHours(inputs, plan, lanes, tested, index, state, tallies);
        if (index == hoursPerYear) break;

        if (!replayHour<Checks>(inputs, plan, run, lanes, state)) return std::nullopt;
        if (endsYearAfterEvent(inputs, plan, lanes, index, tested, state, tallies)) break;
    }
    return closeFastYear(tallies, state);
}

template <class Checks>
HourSteps stepsWith() {
    return HourSteps{Checks::scan, replayHour<Checks>, fastYear<Checks>};
}

}  // namespace
}  // namespace adequacy
