#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "montecarlo/fast/draw_threshold.hpp"
#include "montecarlo/fast/fast_year.hpp"
#include "montecarlo/loss_of_load.hpp"
#include "montecarlo/tie.hpp"
#include "montecarlo/units.hpp"

namespace adequacy {

namespace {

// Every partial sum of available MW, whatever the unit states, is bounded by
// the sum of the largest magnitudes a unit can contribute; integers up to
// 2^24 are exact floats, so below that bound the float sums are exact too.
bool capacitySumsExact(const UnitTypes& units) {
    long long bound = 0;
    for (int u = 0; u < units.unitCount(); ++u) {
        const auto type = static_cast<std::size_t>(units.typeOf(u));
        const long long full = std::llabs(units.pmax[type]);
        const long long derated = std::llabs(units.deratedMw[type]);
        bound += full > derated ? full : derated;
    }
    return bound <= drawCount;
}

YearPeaks yearPeaks(const HourlyLoads& loads) {
    constexpr float infinity = std::numeric_limits<float>::infinity();
    YearPeaks peaks{-infinity, -infinity, -static_cast<double>(infinity)};
    for (int index = 0; index < hoursPerYear; ++index) {
        const float load = loads.total[index];
        const float load1 = loads.area1[index];
        if (load != load || load1 != load1) return {infinity, infinity, infinity};
        peaks.total = std::max(peaks.total, load);
        peaks.area1 = std::max(peaks.area1, load1);
        peaks.area0 = std::max(peaks.area0, static_cast<double>(load) - load1);
    }
    return peaks;
}

// The smallest whole MW at or above `mw`; none (the largest int) for a
// bound that is not a number or too large.
int wholeMwFrom(double mw) {
    constexpr double largest = std::numeric_limits<int>::max();
    if (!(mw < largest)) return std::numeric_limits<int>::max();
    return mw < -largest ? -std::numeric_limits<int>::max() : static_cast<int>(std::ceil(mw));
}

}  // namespace

// With the system at least total + margin and at least area 0's peak + area
// 1's peak + margin, and area 1 at least its peak + margin - the tie's MW,
// both tests pass in exact arithmetic with `slack` to spare. The capacities
// are exact integers up to 2^24 (exactCapacities); the doubles' roundings
// are far below a MW, and area 1's available MW, rounded to the nearest
// float, cannot fall below the float peak it clears. The slack, two MW and
// a millionth of the magnitudes, keeps the bounds clear of all of them.
SureCover sureCover(const YearPeaks& peaks, const AtcTable& atc) {
    const double margin = lolMargin;
    const double area1 = peaks.area1;
    const double magnitudes = std::abs(peaks.total) + std::abs(peaks.area0) + std::abs(area1);
    double largestTie = 0.0;
    for (const float mw : atc.mw) largestTie = std::max(largestTie, std::abs(double{mw}));
    const double slack = 2.0 + (magnitudes + largestTie) * 0x1p-20;
    SureCover cover{};
    cover.system =
        wholeMwFrom(std::max(peaks.total + margin, peaks.area0 + area1 + margin) + slack);
    for (std::size_t row = 0; row < cover.area1.size(); ++row)
        cover.area1[row] = wholeMwFrom(area1 + margin - double{atc.mw[row]} + slack);
    return cover;
}

FastYearPlan planFastYears(const SimulationInputs& inputs, HourChecks checks) {
    FastYearPlan plan{};
    const int units = inputs.units.unitCount();
    plan.failDraws.assign(static_cast<std::size_t>(units), 0);
    plan.repairDraws.assign(static_cast<std::size_t>(units), 0);
    for (std::size_t u = 0; u < plan.failDraws.size(); ++u) {
        // An up unit stays up only on r > failProb; a down unit returns on
        // r <= repairProb. The two differ for a NaN probability.
        plan.failDraws[u] = drawsNotAbove(inputs.probabilities.unitFailProb[u]);
        plan.repairDraws[u] = drawsAtOrBelow(inputs.probabilities.unitRepairProb[u]);
    }
    plan.unitLanes.resize(static_cast<std::size_t>(units));
    for (int u = 0; u < units; ++u) {
        FastYearPlan::UnitLane& lane = plan.unitLanes[static_cast<std::size_t>(u)];
        for (const int unitState : {unitOut, unitUp, unitDerated}) {
            const auto s = static_cast<std::size_t>(unitState);
            lane.mw[s] = availableMw(inputs.units, inputs.units.typeOf(u), unitState);
            lane.draws[s] = unitThreshold(plan, u, unitState);
        }
        lane.deratedDraws =
            drawsAtOrBelow(inputs.probabilities.unitDeratedShare[static_cast<std::size_t>(u)]);
    }
    plan.tieLeaveDraws = drawsAtOrBelow(inputs.probabilities.atcLeaveProb);
    plan.tieReturnDraws = drawsAtOrBelow(atcReturnProb);
    const auto belowCount = [](std::int32_t draws) { return draws < drawCount; };
    plan.rawThresholds =
        std::all_of(plan.failDraws.begin(), plan.failDraws.end(), belowCount) &&
        std::all_of(plan.repairDraws.begin(), plan.repairDraws.end(), belowCount) &&
        belowCount(plan.tieLeaveDraws) && belowCount(plan.tieReturnDraws);
    plan.checks = checks;
    plan.peaks = yearPeaks(inputs.loads);
    plan.cover = sureCover(plan.peaks, inputs.atc);
    plan.exactCapacities = capacitySumsExact(inputs.units);
    plan.fitsLanes = fitsHourLanes(units);
    plan.lanes = plan.fitsLanes ? hourLanesFor(units) : 0;
    plan.steps = checks.stepsOf(plan.lanes);
    return plan;
}

LaneState laneState(const SimulationInputs& inputs, const FastYearPlan& plan,
                    const SimulationState& state) {
    LaneState lanes;
    const UnitTypes& units = inputs.units;
    const int tieLane = units.unitCount();
    lanes.thresholds.lanes = plan.lanes;
    lanes.thresholds.tieLane = tieLane;
    lanes.systemMw = 0;
    lanes.area1Mw = 0;
    for (int u = 0; u < tieLane; ++u) {
        lanes.thresholds.draws[u] = unitThreshold(plan, u, state.unitState[u]);
        const int mw = availableMw(units, units.typeOf(u), state.unitState[u]);
        lanes.systemMw += mw;
        if (u < units.area1UnitCount) lanes.area1Mw += mw;
    }
    lanes.thresholds.draws[tieLane] = tieThreshold(plan, state.tie.atcState);
    // The padding lanes never fire.
    for (int lane = tieLane + 1; lane < plan.lanes; ++lane) lanes.thresholds.draws[lane] = 0;
    return lanes;
}

}  // namespace adequacy
