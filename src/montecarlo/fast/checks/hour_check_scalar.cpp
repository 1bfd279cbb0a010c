#include "montecarlo/fast/draw_threshold.hpp"
#include "montecarlo/fast/hour_lanes.hpp"
#include "montecarlo/fast/lcg_jump.hpp"
#include "montecarlo/loss_of_load.hpp"
#include "montecarlo/tie.hpp"
#include "montecarlo/units.hpp"
#include "montecarlo/year.hpp"

#define ADEQUACY_CHECKS_TARGET
#include "montecarlo/fast/year_steps.hpp"

namespace adequacy {

namespace {

// The portable checks, one lane at a time; the vector checks must agree with
// them word for word.
std::uint64_t checkWord(const LaneThresholds& thresholds, std::uint32_t hourSeed, int shift,
                        int word) {
    std::uint64_t fired = 0;
    const int first = 64 * word;
    const int last = first + 64 < thresholds.lanes ? first + 64 : thresholds.lanes;
    // A lane seldom fires: laid out for that, a lane takes one taken branch,
    // not two, and the loop runs alike wherever the linker puts it.
    for (int lane = first; lane < last; ++lane) {
        if (drawFires(seedAfter(hourSeed, lane + 1 + shift), thresholds.draws[lane])) [[unlikely]]
            fired |= std::uint64_t{1} << (lane - first);
    }
    return fired;
}

bool anyFires(const LaneThresholds& thresholds, std::uint32_t hourSeed) {
    for (int word = 0; word < laneWords(thresholds.lanes); ++word)
        if (checkWord(thresholds, hourSeed, 0, word) != 0) return true;
    return false;
}

QuietRun scanQuietHours(const LaneThresholds& thresholds, std::uint32_t hourSeed, int limit) {
    QuietRun run{0, hourSeed, {}};
    for (; run.hours < limit && !anyFires(thresholds, run.seed); ++run.hours)
        run.seed = seedAfter(run.seed, thresholds.hourDraws());
    carryFiredWords(thresholds, run, checkWord);
    return run;
}

using ScalarChecks = ChecksOf<scanQuietHours, checkWord>;

HourSteps stepsOf(int) { return stepsWith<ScalarChecks>(); }

}  // namespace

HourChecks scalarHourChecks() {
    return HourChecks{checkWord, scanQuietHours, nextLossHourScalar, stepsOf};
}

}  // namespace adequacy
