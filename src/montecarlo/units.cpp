#include "montecarlo/units.hpp"

#include "montecarlo/random.hpp"

namespace adequacy {

namespace {

// Probability of being outside the up state, as stored.
float outageProbability(const UnitTypes& units, int type) {
    return static_cast<float>(static_cast<double>(units.forcedOutageRate[type]) +
                              static_cast<double>(units.deratedProbability[type]));
}

}  // namespace

UnitTypeRates unitTypeRates(const UnitTypes& units, int type) {
    const double q = outageProbability(units, type);
    const double repairHours = static_cast<double>(units.mttrDays[type]) * hoursPerDay;
    const double mu = 1.0 / repairHours;
    const double derated = units.deratedProbability[static_cast<std::size_t>(type)];
    const double share = q == 0.0 ? 0.0 : derated / q;
    // The failure rate is derived from the unrounded repair rate.
    return UnitTypeRates{static_cast<float>(mu), static_cast<float>(mu * q / (1.0 - q)),
                         static_cast<float>(share)};
}

void setUpUnits(const UnitTypes& units, std::uint32_t& seed, std::vector<int>& unitState,
                TransitionProbabilities& probabilities) {
    const auto count = static_cast<std::size_t>(units.unitCount());
    unitState.assign(count, unitUp);
    probabilities.unitRepairProb.assign(count, 0.0f);
    probabilities.unitFailProb.assign(count, 0.0f);
    probabilities.unitDeratedShare.assign(count, 0.0f);
    for (std::size_t u = 0; u < count; ++u) {
        const int type = units.typeOf(static_cast<int>(u));
        const float q = outageProbability(units, type);
        const float r = ran(seed);
        if (r < units.deratedProbability[static_cast<std::size_t>(type)]) {
            unitState[u] = unitDerated;
        } else if (r < q) {
            unitState[u] = unitOut;
        } else {
            unitState[u] = unitUp;
        }
        const UnitTypeRates rates = unitTypeRates(units, type);
        probabilities.unitRepairProb[u] = rates.repairProb;
        probabilities.unitFailProb[u] = rates.failProb;
        probabilities.unitDeratedShare[u] = rates.deratedShare;
    }
}

int nextUnitState(int state, float failProb, float repairProb, float deratedShare,
                  std::uint32_t& seed) {
    const float r = ran(seed);
    if (state == unitUp) {
        if (r > failProb) return unitUp;
        // A failing unit always draws again, even when no unit can be derated.
        const float r2 = ran(seed);
        return r2 <= deratedShare ? unitDerated : unitOut;
    }
    return r <= repairProb ? unitUp : state;
}

}  // namespace adequacy
