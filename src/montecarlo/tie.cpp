#include "montecarlo/tie.hpp"

#include <cmath>

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

std::optional<std::array<double, atcTieStates>> tieLongRunShares(const AtcTable& atc) {
    TieState tie{};
    TransitionProbabilities probabilities{};
    setUpTie(atc, tie, probabilities);
    // Where the second draw lands: each candidate, from row 11 down, takes the
    // draws up to its cumulative share; the last candidate takes the rest.
    std::array<double, atcTieStates> chosen{};
    const double reduced = probabilities.atcReducedProb;
    double sum = 0.0;
    double taken = 0.0;
    int lastCandidate = 0;
    for (int row = atcTieStates; row >= 1; --row) {
        const float probability = atc.probability[static_cast<std::size_t>(row - 1)];
        if (!(probability > 0.0f && atc.mw[static_cast<std::size_t>(row - 1)] >= 0.0f)) continue;
        sum += probability;
        const double upTo = std::fmin(sum / reduced, 1.0);
        chosen[static_cast<std::size_t>(row - 1)] = std::fmax(upTo - taken, 0.0);
        taken = std::fmax(taken, upTo);
        lastCandidate = row;
    }
    const double leave = std::fmin(static_cast<double>(probabilities.atcLeaveProb), 1.0);
    if (!(leave > 0.0)) return std::array<double, atcTieStates>{1.0};
    if (lastCandidate == 0) return std::nullopt;
    chosen[static_cast<std::size_t>(lastCandidate - 1)] += 1.0 - taken;
    // Each row other than 1 is entered from row 1 only and left at the return
    // probability: its share is row 1's times leave * chosen / return.
    std::array<double, atcTieStates> shares{};
    double others = 0.0;
    for (std::size_t i = 1; i < shares.size(); ++i) {
        shares[i] = leave * chosen[i] / static_cast<double>(atcReturnProb);
        others += shares[i];
    }
    shares[0] = 1.0 / (1.0 + others);
    for (std::size_t i = 1; i < shares.size(); ++i) shares[i] *= shares[0];
    return shares;
}

bool advanceTie(const AtcTable& atc, const TransitionProbabilities& probabilities, TieState& tie,
                std::uint32_t& seed) {
    const float r = ran(seed);
    if (tie.atcState != 1) {
        if (happens(r, atcReturnProb)) tie.atcState = 1;
    } else if (happens(r, probabilities.atcLeaveProb)) {
        const float r2 = ran(seed);
        const int row = searchTieState(atc, probabilities.atcReducedProb, r2);
        if (row == 0) return false;
        tie.atcState = row;
    }
    tie.atcStateHours[tie.atcState - 1] += 1.0;
    return true;
}

}  // namespace adequacy
