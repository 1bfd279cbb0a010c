#include "montecarlo/year.hpp"

#include "montecarlo/random.hpp"
#include "montecarlo/tie.hpp"
#include "montecarlo/units.hpp"

namespace adequacy {

namespace {

constexpr float lolMargin = 0.0001f;

// Loss-of-load days of one area within the current year.
struct DayTally {
    int days = 0;
    bool today = false;
};

struct HourCapacity {
    float system;
    float area1;
};

void countLossHour(float available, float load, AreaCounters& counters, DayTally& tally) {
    counters.unservedEnergy += static_cast<double>(load) - static_cast<double>(available);
    counters.lolHours += 1.0;
    if (!tally.today) {
        tally.days += 1;
        tally.today = true;
    }
}

HourCapacity stepUnits(const SimulationInputs& inputs, SimulationState& state) {
    HourCapacity capacity{0.0f, 0.0f};
    for (int u = 0; u < unitCount; ++u) {
        const int type = typeOfUnit(u);
        state.unitState[u] = nextUnitState(state.unitState[u], inputs.probabilities.unitFailProb[u],
                                           inputs.probabilities.unitRepairProb[u],
                                           inputs.units.deratedProbability[type], state.ranSeed);
        const float mw = static_cast<float>(availableMw(inputs.units, type, state.unitState[u]));
        capacity.system += mw;
        if (u < area1UnitCount) capacity.area1 += mw;
    }
    return capacity;
}

// Area 1 imports what area 0 can spare, up to the capability of the row in
// force; the hour counts as tie-limited when the import is that capability.
// A short area 0 leaves a negative transfer, which is never the capability:
// its hours are not tie-limited, even in a 0 MW row.
void testArea1(const SimulationInputs& inputs, HourCapacity capacity, float load, float load1,
               SimulationState& state, DayTally& tally) {
    const int row = state.tie.atcState;
    const double capability = inputs.atc.mw[row - 1];
    const double surplus = (static_cast<double>(capacity.system) - capacity.area1) -
                           (static_cast<double>(load) - load1);
    const double transfer = surplus > capability ? capability : surplus;
    float available = capacity.area1;
    if (transfer > 0.0) available = static_cast<float>(available + transfer);
    if (!isLossOfLoad(available, load1)) return;
    if (transfer == capability) state.atcLimitedLolHours[row - 1] += 1.0;
    countLossHour(available, load1, state.area1, tally);
}

bool advanceHour(const SimulationInputs& inputs, int index, SimulationState& state,
                 DayTally& systemTally, DayTally& area1Tally) {
    const HourCapacity capacity = stepUnits(inputs, state);
    if (!advanceTie(inputs.atc, inputs.probabilities, state.tie, state.ranSeed)) return false;
    const float load = inputs.loads.total[index];
    const float load1 = inputs.loads.area1[index];
    if (isLossOfLoad(capacity.system, load)) {
        countLossHour(capacity.system, load, state.system, systemTally);
    }
    testArea1(inputs, capacity, load, load1, state, area1Tally);
    return true;
}

void closeYear(const DayTally& tally, AreaCounters& counters) {
    counters.lolDays += tally.days;
    if (tally.days == 0) counters.lolFreeYears += 1.0;
}

std::array<double, areaEstimates> estimates(const AreaCounters& counters, double n) {
    return {counters.lolHours / n, counters.lolDays / n, 1.0 - counters.lolFreeYears / n,
            counters.unservedEnergy / n};
}

}  // namespace

bool isLossOfLoad(float available, float load) {
    return static_cast<double>(available) + lolMargin < static_cast<double>(load);
}

SimulationState initialState(const UnitTypes& units, const AtcTable& atc,
                             TransitionProbabilities& probabilities) {
    SimulationState state{};
    state.ranSeed = ranInitialSeed;
    setUpUnits(units, state.ranSeed, state.unitState, probabilities);
    setUpTie(atc, state.tie, probabilities);
    return state;
}

YearRecords yearRecords(const SimulationState& state) {
    const double n = state.yearCount;
    YearRecords records{estimates(state.system, n), estimates(state.area1, n), {}};
    for (int row = 0; row < atcRows; ++row) records.tie[row] = state.atcLimitedLolHours[row] / n;
    return records;
}

std::optional<YearRecords> advanceYear(const SimulationInputs& inputs, SimulationState& state) {
    state.yearCount += 1;
    DayTally systemTally;
    DayTally area1Tally;
    for (int day = 1; day <= daysPerYear; ++day) {
        systemTally.today = false;
        area1Tally.today = false;
        for (int hour = 1; hour <= hoursPerDay; ++hour) {
            if (!advanceHour(inputs, hourIndex(day, hour), state, systemTally, area1Tally)) {
                return std::nullopt;
            }
        }
    }
    closeYear(systemTally, state.system);
    closeYear(area1Tally, state.area1);
    return yearRecords(state);
}

}  // namespace adequacy
