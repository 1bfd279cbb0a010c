#include "montecarlo/draw_threshold.hpp"
#include "montecarlo/hour_lanes.hpp"
#include "montecarlo/lcg_jump.hpp"

namespace adequacy {

namespace {

// The portable checks, one lane at a time; the vector checks must agree with
// them mask for mask.
LaneMask checkHour(const LaneThresholds& thresholds, std::uint32_t hourSeed, int shift) {
    LaneMask mask{0, 0};
    for (int lane = 0; lane < hourLanes; ++lane) {
        if (drawFires(seedAfter(hourSeed, lane + 1 + shift), thresholds.draws[lane])) {
            mask.set(lane);
        }
    }
    return mask;
}

QuietRun scanQuietHours(const LaneThresholds& thresholds, std::uint32_t hourSeed, int limit) {
    QuietRun run{0, hourSeed, {0, 0}};
    for (; run.hours < limit; ++run.hours) {
        run.fired = checkHour(thresholds, run.seed, 0);
        if (!run.fired.none()) break;
        run.seed = seedAfter(run.seed, hourDraws);
    }
    return run;
}

}  // namespace

HourChecks scalarHourChecks() { return HourChecks{checkHour, scanQuietHours, nextLossHourScalar}; }

}  // namespace adequacy
