#include "montecarlo/year.hpp"

#include "montecarlo/loss_of_load.hpp"
#include "montecarlo/random.hpp"
#include "montecarlo/tie.hpp"
#include "montecarlo/units.hpp"

namespace adequacy {

namespace {

HourCapacity stepUnits(const SimulationInputs& inputs, SimulationState& state) {
    HourCapacity capacity{0.0f, 0.0f};
    const UnitTypes& units = inputs.units;
    for (int u = 0; u < units.unitCount(); ++u) {
        const int type = units.typeOf(u);
        state.unitState[u] = nextUnitState(state.unitState[u], inputs.probabilities.unitFailProb[u],
                                           inputs.probabilities.unitRepairProb[u],
                                           inputs.probabilities.unitDeratedShare[u], state.ranSeed);
        const float mw = static_cast<float>(availableMw(inputs.units, type, state.unitState[u]));
        capacity.system += mw;
        if (u < units.area1UnitCount) capacity.area1 += mw;
    }
    return capacity;
}

bool advanceHour(const SimulationInputs& inputs, int index, SimulationState& state,
                 DayTally& systemTally, DayTally& area1Tally) {
    const HourCapacity capacity = stepUnits(inputs, state);
    if (!advanceTie(inputs.atc, inputs.probabilities, state.tie, state.ranSeed)) return false;
    const float load = inputs.loads.total[index];
    const float load1 = inputs.loads.area1[index];
    testSystem(capacity.system, load, index, state, systemTally);
    testArea1(inputs.atc, capacity, load, load1, index, state, area1Tally);
    return true;
}

std::array<double, areaEstimates> estimates(const AreaCounters& counters, double n) {
    return {counters.lolHours / n, counters.lolDays / n, 1.0 - counters.lolFreeYears / n,
            counters.unservedEnergy / n};
}

}  // namespace

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
