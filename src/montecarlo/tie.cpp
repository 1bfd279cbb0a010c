#include "montecarlo/tie.hpp"

#include "montecarlo/random.hpp"

namespace adequacy {

void setUpTie(const AtcTable& atc, TieState& tie, TransitionProbabilities& probabilities) {
    tie.atcState = 1;
    const double normal = atc.probability[0];
    const float reduced = static_cast<float>(1.0 - normal);
    probabilities.atcReducedProb = reduced;
    // With a row-1 probability of 0 this is +infinity: the tie leaves row 1
    // in every hour that begins there.
    probabilities.atcLeaveProb =
        static_cast<float>(static_cast<double>(reduced) * atcReturnProb / normal);
}

int searchTieState(const AtcTable& atc, float reducedProb, float r2) {
    double sum = 0.0;
    int lastCandidate = 0;
    for (int row = atcTieStates; row >= 1; --row) {
        const float probability = atc.probability[row - 1];
        if (!(probability > 0.0f && atc.mw[row - 1] >= 0.0f)) continue;
        sum += probability;
        lastCandidate = row;
        if (r2 <= sum / reducedProb) return row;
    }
    return lastCandidate;
}

bool advanceTie(const AtcTable& atc, const TransitionProbabilities& probabilities, TieState& tie,
                std::uint32_t& seed) {
    const float r = ran(seed);
    if (tie.atcState != 1) {
        if (r <= atcReturnProb) tie.atcState = 1;
    } else if (r <= probabilities.atcLeaveProb) {
        const float r2 = ran(seed);
        const int row = searchTieState(atc, probabilities.atcReducedProb, r2);
        if (row == 0) return false;
        tie.atcState = row;
    }
    tie.atcStateHours[tie.atcState - 1] += 1.0;
    return true;
}

}  // namespace adequacy
