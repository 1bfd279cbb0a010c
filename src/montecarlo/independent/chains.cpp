#include "montecarlo/independent/chains.hpp"

#include <cmath>

#include "montecarlo/independent/sojourn.hpp"
#include "montecarlo/tie.hpp"
#include "montecarlo/units.hpp"

namespace adequacy::independent {
namespace {

UnitChain unitChain(const UnitTypes& units, int u) {
    const int type = units.typeOf(u);
    const UnitTypeRates rates = unitTypeRates(units, type);
    const auto t = static_cast<std::size_t>(type);
    const auto derated = units.deratedProbability[t];
    const auto stream = units.stream.empty() ? static_cast<std::uint32_t>(u)
                                             : units.stream[static_cast<std::size_t>(u)];
    return {stream,
            {availableMw(units, type, unitOut), availableMw(units, type, unitUp),
             availableMw(units, type, unitDerated)},
            sojournScale(rates.failProb),
            sojournScale(rates.repairProb),
            rates.deratedShare,
            derated,
            static_cast<float>(static_cast<double>(units.forcedOutageRate[t]) + derated)};
}

TieChain tieChain(const AtcTable& atc) {
    TieChain tie{atc, {}, 0.0, sojournScale(atcReturnProb), {}};
    TieState state{};
    setUpTie(atc, state, tie.probabilities);
    tie.leaveScale = sojournScale(std::fmin(tie.probabilities.atcLeaveProb, 1.0f));
    const auto shares = tieLongRunShares(atc);
    if (!shares) return tie;
    double sum = 0.0;
    for (std::size_t r = 0; r < shares->size(); ++r) tie.cumulativeShares[r] = sum += (*shares)[r];
    return tie;
}

}  // namespace

Chains buildChains(const UnitTypes& units, const AtcTable& atc) {
    Chains chains;
    chains.units.reserve(static_cast<std::size_t>(units.unitCount()));
    for (int u = 0; u < units.unitCount(); ++u) chains.units.push_back(unitChain(units, u));
    chains.area1Units = units.area1UnitCount;
    chains.tie = tieChain(atc);
    return chains;
}

// As the classic set-up draws it: derated below the derated probability,
// out below the outage probability, else up.
int initialUnitState(const UnitChain& unit, double u) {
    const double r = 1.0 - u;  // on [0, 1)
    if (r < unit.deratedProbability) return unitDerated;
    if (r < unit.outageProbability) return unitOut;
    return unitUp;
}

int initialTieRow(const TieChain& tie, double u) {
    const double r = 1.0 - u;
    for (std::size_t row = 0; row < tie.cumulativeShares.size(); ++row)
        if (r < tie.cumulativeShares[row]) return static_cast<int>(row) + 1;
    return 1;  // rounding short of 1: the normal row
}

int nextUnitState(const UnitChain& unit, int state, ComponentDraws& draws) {
    if (state != unitUp) return unitUp;
    // Types without a derated state (or with nothing but) need no draw.
    if (!(unit.deratedShare > 0.0f)) return unitOut;
    if (unit.deratedShare >= 1.0f) return unitDerated;
    return 1.0 - draws.uniform() < unit.deratedShare ? unitDerated : unitOut;
}

int unitStay(const UnitChain& unit, int state, ComponentDraws& draws) {
    return stepsUntilLeft(state == unitUp ? unit.failScale : unit.repairScale, draws.uniform());
}

// Leaving row 1 is a draw at the leave probability and then the search; a
// search that ends in row 1 again keeps the tie there, and it waits anew.
TieMove nextTieMove(const TieChain& tie, int row, ComponentDraws& draws) {
    if (row != 1) return {stepsUntilLeft(tie.returnScale, draws.uniform()), 1};
    long long hours = 0;
    while (true) {
        const int wait = stepsUntilLeft(tie.leaveScale, draws.uniform());
        if (wait == neverLeft) return {neverLeft, 1};
        hours += wait;
        const auto r2 = static_cast<float>(1.0 - draws.uniform());
        const int next = searchTieState(tie.atc, tie.probabilities.atcReducedProb, r2);
        if (next == 0) return {static_cast<int>(std::min<long long>(hours, neverLeft - 1)), 0};
        if (next != 1 || hours >= neverLeft - 1)
            return {static_cast<int>(std::min<long long>(hours, neverLeft - 1)), next};
    }
}

}  // namespace adequacy::independent
