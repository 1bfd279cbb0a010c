#pragma once
// The units and the tie as the independent engine moves them: the same
// hourly chains as the classic simulation (its probabilities, its derated
// share, its search over the tie's rows and its return to row 1), each state
// held for a drawn number of hours instead of being drawn for hour by hour.
// A year starts from the chains' long-run distribution.

#include <array>
#include <vector>

#include "direct/atc_table.hpp"
#include "model/system_data.hpp"
#include "montecarlo/independent/philox_draws.hpp"
#include "montecarlo/state.hpp"

namespace adequacy::independent {

struct UnitChain {
    std::uint32_t stream;   // its component number in the draws
    std::array<int, 3> mw;  // by state: out, up, derated
    double failScale;       // sojourn scales of the up and the outage states
    double repairScale;
    float deratedShare;
    float deratedProbability;  // the long-run shares the year starts from
    float outageProbability;
};

struct TieChain {
    AtcTable atc;
    TransitionProbabilities probabilities;  // the tie's part: reduced and leave
    double leaveScale;
    double returnScale;
    std::array<double, atcTieStates> cumulativeShares;  // long-run, rows 1..11
};

struct Chains {
    std::vector<UnitChain> units;
    int area1Units = 0;
    TieChain tie;
};

// Empty tie shares mean the tie could not run on the table: a year meets
// that only when the tie would have to leave row 1.
Chains buildChains(const UnitTypes& units, const AtcTable& atc);

// A component's state at the start of a year, from one draw.
int initialUnitState(const UnitChain& unit, double u);
int initialTieRow(const TieChain& tie, double u);

// The state a unit enters when it leaves `state`, drawing as it needs.
int nextUnitState(const UnitChain& unit, int state, ComponentDraws& draws);

// Hours until the unit leaves `state`: 1 for the very next hour's step.
int unitStay(const UnitChain& unit, int state, ComponentDraws& draws);

// The tie leaving `row`: the hours until it does and the row it goes to; no
// row (0) when it must leave row 1 and no row can receive it.
struct TieMove {
    int hours;
    int row;
};
TieMove nextTieMove(const TieChain& tie, int row, ComponentDraws& draws);

}  // namespace adequacy::independent
