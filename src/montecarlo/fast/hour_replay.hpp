#pragma once
// An hour in which some lane fired, replayed lane by lane from the first
// firing one.

#include "montecarlo/fast/fast_year.hpp"

namespace adequacy {

// Steps the firing lanes of the hour after `run` in order from the seed in
// `state`, which is the run's: a repair changes
// its unit only, a failure (or the tie leaving row 1) takes a second draw and
// so shifts every later lane by one position, which are checked again. Leaves
// the seed after the hour's last draw. False, as advanceTie, when the tie had
// nowhere to go.
bool replayHour(const SimulationInputs& inputs, const FastYearPlan& plan, const QuietRun& run,
                LaneState& lanes, SimulationState& state);

}  // namespace adequacy
