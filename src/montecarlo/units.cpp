#include "montecarlo/units.hpp"

#include "montecarlo/random.hpp"

namespace adequacy {

namespace {

// Probability of being outside the up state, as stored. Two rates within the
// file's tolerance of 1 may round to a sum just above it, which would make
// the failure probability negative: such a unit is never up.
float outageProbability(float forcedOutageRate, float deratedProbability) {
    const auto q = static_cast<float>(static_cast<double>(forcedOutageRate) +
                                      static_cast<double>(deratedProbability));
    return q > 1.0f ? 1.0f : q;
}

float outageProbability(const UnitTypes& units, int type) {
    const auto t = static_cast<std::size_t>(type);
    return outageProbability(units.forcedOutageRate[t], units.deratedProbability[t]);
}

}  // namespace

UnitTypeRates typeRates(float forcedOutageRate, float deratedProbability, float mttrDays) {
    const double q = outageProbability(forcedOutageRate, deratedProbability);
    const double repairHours = static_cast<double>(mttrDays) * hoursPerDay;
    const double mu = 1.0 / repairHours;
    const double share = q == 0.0 ? 0.0 : deratedProbability / q;
    // A unit that is never up starts in an outage state and is never repaired.
    if (q == 1.0) return UnitTypeRates{0.0f, 1.0f, static_cast<float>(share)};
    // The failure rate is derived from the unrounded repair rate.
    return UnitTypeRates{static_cast<float>(mu), static_cast<float>(mu * q / (1.0 - q)),
                         static_cast<float>(share)};
}

UnitTypeRates unitTypeRates(const UnitTypes& units, int type) {
    const auto t = static_cast<std::size_t>(type);
    return typeRates(units.forcedOutageRate[t], units.deratedProbability[t], units.mttrDays[t]);
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
        if (!fails(r, failProb)) return unitUp;
        // A failing unit always draws again, even when no unit can be derated.
        const float r2 = ran(seed);
        return happens(r2, deratedShare) ? unitDerated : unitOut;
    }
    return happens(r, repairProb) ? unitUp : state;
}

}  // namespace adequacy
