#pragma once
// The tie between the areas as a Markov chain over the rows of the ATC table.
// Row 1 is the normal state; any other row is left after 8 hours on average.

#include <array>
#include <cstdint>
#include <optional>

#include "direct/atc_table.hpp"
#include "montecarlo/state.hpp"

namespace adequacy {

// Hourly probability of returning to row 1 from any other row: a mean stay of
// 8 hours, the transmission repair time of one third of a day.
inline constexpr float atcReturnProb = 0.125f;
inline constexpr float transmissionMttrDays = 1.0f / 3.0f;

// Starts the tie in row 1 and derives the probabilities of leaving it, so that
// the long-run share of hours in row 1 is that row's probability.
void setUpTie(const AtcTable& atc, TieState& tie, TransitionProbabilities& probabilities);

// The row the tie moves to on leaving row 1, for the draw r2: rows 11 down to
// 1 with a positive probability and no export are candidates, the first whose
// cumulative share of the reduced probability reaches r2 is taken. Rounding
// can leave the shares just short of r2; the last candidate then takes it.
// 0 when the table has no candidate at all.
int searchTieState(const AtcTable& atc, float reducedProb, float r2);

// The share of all hours that the chain spends in each row 1..11 once it has
// settled, from its transition probabilities taken as exact (a draw below a
// threshold p happens with probability p). None when the tie would have to
// leave row 1 and no row can receive it.
std::optional<std::array<double, atcTieStates>> tieLongRunShares(const AtcTable& atc);

// One hourly transition and the count of the hour in the row then in force.
// False when the tie had to leave row 1 and no row could receive it.
bool advanceTie(const AtcTable& atc, const TransitionProbabilities& probabilities, TieState& tie,
                std::uint32_t& seed);

}  // namespace adequacy
