#include "montecarlo/fast/fast_year.hpp"

#include "montecarlo/fast/hour_replay.hpp"
#include "montecarlo/fast/lcg_jump.hpp"
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

HourCapacity capacityOf(const LaneState& lanes) {
    return {static_cast<float>(lanes.systemMw), static_cast<float>(lanes.area1Mw)};
}

namespace {

// The loss-of-load tests of the hours [begin, end) of the year, through which
// the available MW and the tie stay as they are. Only the hours that a test
// counts are visited; a day's flags, which only those hours read, are reset
// when the first of them in a new day comes.
void testHours(const SimulationInputs& inputs, const FastYearPlan& plan, const LaneState& lanes,
               int begin, int end, SimulationState& state, YearTallies& tallies) {
    const HourCapacity capacity = capacityOf(lanes);
    const double capability = inputs.atc.mw[state.tie.atcState - 1];
    if (coversPeaks(plan.peaks, capacity, capability)) return;
    for (int index = plan.checks.losses(capacity, capability, inputs.loads, begin, end);
         index < end;
         index = plan.checks.losses(capacity, capability, inputs.loads, index + 1, end)) {
        testHour(inputs, capacity, index, state, tallies);
    }
}

}  // namespace

std::optional<YearRecords> advanceYearFast(const SimulationInputs& inputs, const FastYearPlan& plan,
                                           SimulationState& state) {
    if (!plan.exactCapacities || !plan.fitsLanes) return advanceYear(inputs, state);
    LaneState lanes = laneState(inputs, plan, state);
    state.yearCount += 1;
    YearTallies tallies;
    // An hour with events has the units and tie of the run after it, and is
    // tested with that run.
    for (int index = 0, tested = 0;;) {
        const QuietRun run =
            plan.checks.scan(lanes.thresholds, state.ranSeed, hoursPerYear - index);
        state.ranSeed = run.seed;
        // Hour counts are whole numbers far below 2^53: adding a run of them
        // at once gives the sum of adding them one by one.
        state.tie.atcStateHours[state.tie.atcState - 1] += run.hours;
        index += run.hours;
        testHours(inputs, plan, lanes, tested, index, state, tallies);
        if (index == hoursPerYear) break;

        if (!replayHour(inputs, plan, run, lanes, state)) return std::nullopt;
        tested = index;
        index += 1;
        if (index == hoursPerYear) {
            testHours(inputs, plan, lanes, tested, index, state, tallies);
            break;
        }
    }
    closeYear(tallies.system, state.system);
    closeYear(tallies.area1, state.area1);
    return yearRecords(state);
}

}  // namespace adequacy
