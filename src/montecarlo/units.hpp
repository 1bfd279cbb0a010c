#pragma once
// Generating units as three-state Markov chains stepped once an hour.

#include <cstdint>
#include <vector>

#include "model/system_data.hpp"
#include "montecarlo/state.hpp"

namespace adequacy {

struct UnitTypeRates {
    float repairProb;
    float failProb;
    float deratedShare;
};

// Hourly repair and failure probabilities of a unit type, chosen so that the
// long-run share of hours outside the up state is its outage probability;
// and the share of its failures that end in the derated state, chosen so that
// the long-run share of derated hours is its derated probability (an outage
// lasts as long whichever state it is, so the shares of hours are the shares
// of failures).
// A type whose rates add up to 1 (or round above it) is never up: it is
// never repaired. The system reader refuses the types for which either
// probability would exceed 1.
UnitTypeRates typeRates(float forcedOutageRate, float deratedProbability, float mttrDays);
UnitTypeRates unitTypeRates(const UnitTypes& units, int type);

// Draws the initial state of every unit in unit order (one draw each) and
// fills the per-unit probabilities; sizes both to the units.
void setUpUnits(const UnitTypes& units, std::uint32_t& seed, std::vector<int>& unitState,
                TransitionProbabilities& probabilities);

// One hourly transition: one draw, and a second one for a unit that fails to
// pick between forced outage and derated state; the unit is derated when the
// second draw is at most `deratedShare`. A probability of 0 never comes true,
// even on a draw of exactly 0.
int nextUnitState(int state, float failProb, float repairProb, float deratedShare,
                  std::uint32_t& seed);

// The MW a unit contributes in its state.
inline int availableMw(const UnitTypes& units, int type, int state) {
    if (state == unitUp) return units.pmax[static_cast<std::size_t>(type)];
    if (state == unitDerated) return units.deratedMw[static_cast<std::size_t>(type)];
    return 0;
}

}  // namespace adequacy
