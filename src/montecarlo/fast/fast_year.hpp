#pragma once
// The year loop at speed. Units and tie leave their states in well under 1%
// of their hours, so most hours change nothing but the seed: each hour is
// first checked lane by lane against thresholds for the current states (see
// hour_lanes.hpp), and only an hour in which some lane fires is replayed. It
// leaves exactly the state, records and failures that advanceYear leaves.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "montecarlo/fast/hour_lanes.hpp"
#include "montecarlo/state.hpp"
#include "montecarlo/year.hpp"

namespace adequacy {

// The largest loads of the year as the loss-of-load tests see them; a NaN
// load, which the tests treat unlike any number, makes them +infinity.
struct YearPeaks {
    float total;
    float area1;
    double area0;  // total - area 1, in double precision as the tests form it
};

// Whether no hour of the year can fail either test with this capacity and
// tie: both pass at the year's largest loads, and each only gets easier as
// its loads fall (the import into area 1 grows as the load of area 0 falls,
// and every rounding on the way is monotonic).
inline bool coversPeaks(const YearPeaks& peaks, HourCapacity capacity, double capability) {
    if (isLossOfLoad(capacity.system, peaks.total)) return false;
    const double surplus = (static_cast<double>(capacity.system) - capacity.area1) - peaks.area0;
    const double transfer = surplus > capability ? capability : surplus;
    float available = capacity.area1;
    if (transfer > 0.0) available = static_cast<float>(available + transfer);
    return !isLossOfLoad(available, peaks.area1);
}

// Available MW at or above which coversPeaks holds whatever its roundings:
// the system's, and area 1's for each row of the tie. Two integer compares
// settle most runs' tests; coversPeaks, a chain of conversions some fifty
// cycles long, is left for capacities near the bounds.
struct SureCover {
    int system;
    std::array<int, atcRows> area1;
};

SureCover sureCover(const YearPeaks& peaks, const AtcTable& atc);

inline bool surelyCovers(const SureCover& cover, int systemMw, int area1Mw, int atcState) {
    return systemMw >= cover.system &&
           area1Mw >= cover.area1[static_cast<std::size_t>(atcState - 1)];
}

// What the fast loop derives once from the inputs of a run.
struct FastYearPlan {
    std::vector<std::int32_t> failDraws;    // per unit, threshold in state 1
    std::vector<std::int32_t> repairDraws;  // per unit, threshold in state 0 or 2
    // Per unit and state (unitOut, unitUp, unitDerated), the MW it adds and
    // the threshold of its lane; aligned so that no unit's entry straddles
    // two cache lines.
    struct alignas(32) UnitLane {
        std::array<int, 3> mw;
        std::array<std::int32_t, 3> draws;
        std::int32_t deratedDraws;  // second draws of a failure that derate it
    };
    std::vector<UnitLane> unitLanes;
    std::int32_t tieLeaveDraws;   // threshold of the tie in row 1
    std::int32_t tieReturnDraws;  // threshold of the tie elsewhere
    HourChecks checks;
    HourSteps steps;  // made for the lanes of this system
    YearPeaks peaks;
    SureCover cover;
    int lanes;  // of an hour, see hour_lanes.hpp
    // Available MW are kept as integer sums, which equal the loop's float sums
    // only while no partial sum can pass 2^24; otherwise every year is left to
    // advanceYear, as it is for a system too large for the lanes of an hour.
    bool exactCapacities;
    bool fitsLanes;
    // Every threshold leaves some draw that does not fire, so each fits in
    // 32 bits shifted left by the discarded bits of a draw.
    bool rawThresholds;
};

FastYearPlan planFastYears(const SimulationInputs& inputs, HourChecks checks);

// The threshold of a unit or of the tie in the given state.
inline std::int32_t unitThreshold(const FastYearPlan& plan, int unit, int unitState) {
    const auto u = static_cast<std::size_t>(unit);
    return unitState == unitUp ? plan.failDraws[u] : plan.repairDraws[u];
}

inline std::int32_t tieThreshold(const FastYearPlan& plan, int atcState) {
    return atcState == 1 ? plan.tieLeaveDraws : plan.tieReturnDraws;
}

// The lanes' thresholds and the available MW that the loop keeps up to date
// alongside the simulation state.
struct LaneState {
    LaneThresholds thresholds;
    int systemMw;
    int area1Mw;
};

LaneState laneState(const SimulationInputs& inputs, const FastYearPlan& plan,
                    const SimulationState& state);

// Loss-of-load days counted so far in the year, and the day they belong to.
struct YearTallies {
    DayTally system;
    DayTally area1;
    int day = -1;  // of the last hour tested
};

// The loss-of-load tests of hour `index` of the year with the given capacity.
void testHour(const SimulationInputs& inputs, HourCapacity capacity, int index,
              SimulationState& state, YearTallies& tallies);

// The available MW that the lanes keep, as the tests take them.
inline HourCapacity capacityOf(const LaneState& lanes) {
    return {static_cast<float>(lanes.systemMw), static_cast<float>(lanes.area1Mw)};
}

// Simulates one more year, as advanceYear does.
std::optional<YearRecords> advanceYearFast(const SimulationInputs& inputs, const FastYearPlan& plan,
                                           SimulationState& state);

}  // namespace adequacy
