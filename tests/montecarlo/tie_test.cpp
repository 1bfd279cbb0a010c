#include "montecarlo/tie.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "montecarlo/draws.hpp"
#include "montecarlo/random.hpp"

namespace adequacy {
namespace {

using testing::afterDraws;
using testing::seedBeforeDraw;

TransitionProbabilities tieProbabilities(const AtcTable& atc) {
    TransitionProbabilities probabilities{};
    TieState tie{};
    setUpTie(atc, tie, probabilities);
    return probabilities;
}

TieState tieIn(int row) {
    TieState tie{};
    tie.atcState = row;
    return tie;
}

TEST(SetUpTie, BuiltInTable) {
    TransitionProbabilities probabilities{};
    TieState tie = tieIn(7);
    setUpTie(builtInAtcTable(), tie, probabilities);
    EXPECT_EQ(tie.atcState, 1);
    EXPECT_EQ(probabilities.atcReducedProb, 167772.0f * 0x1p-24f);
    EXPECT_EQ(probabilities.atcLeaveProb, 0.0012626251f);
}

TEST(SetUpTie, RowOneWithoutProbabilityIsLeftEveryHour) {
    AtcTable atc = builtInAtcTable();
    atc.probability[0] = 0.0f;
    const TransitionProbabilities probabilities = tieProbabilities(atc);
    EXPECT_EQ(probabilities.atcReducedProb, 1.0f);
    EXPECT_TRUE(std::isinf(probabilities.atcLeaveProb));
    EXPECT_GT(probabilities.atcLeaveProb, 0.0f);
}

TEST(SearchTieState, BuiltInTableAlwaysLeadsToRowTwo) {
    const AtcTable atc = builtInAtcTable();
    const float reduced = tieProbabilities(atc).atcReducedProb;
    // Row 2's share alone is just above 1, so even the largest draw takes it.
    for (float r2 : {0.0f, 0.5f, 1.0f - 0x1p-24f}) EXPECT_EQ(searchTieState(atc, reduced, r2), 2);
}

TEST(SearchTieState, CandidatesRunFromRowElevenDownAndSkipExportsAndEmptyRows) {
    AtcTable atc{};
    atc.mw = {100.0f, 50.0f, -80.0f, 0.0f, 30.0f};
    atc.probability = {0.5f, 0.125f, 0.25f, 0.0f, 0.125f};
    atc.mw[atcZeroImportRow - 1] = 0.0f;
    atc.probability[atcZeroImportRow - 1] = 0.25f;
    const float reduced = 0.5f;
    // Cumulative shares of the reduced probability: row 11 0.5, row 5 0.75,
    // row 2 1.0, row 1 2.0; row 3 exports and row 4 has no probability.
    EXPECT_EQ(searchTieState(atc, reduced, 0.0f), 11);
    EXPECT_EQ(searchTieState(atc, reduced, 0.5f), 11);
    EXPECT_EQ(searchTieState(atc, reduced, 0.5f + 0x1p-24f), 5);
    EXPECT_EQ(searchTieState(atc, reduced, 0.75f), 5);
    EXPECT_EQ(searchTieState(atc, reduced, 0.8f), 2);
    EXPECT_EQ(searchTieState(atc, reduced, 1.0f), 2);
    EXPECT_EQ(searchTieState(atc, reduced, 1.5f), 1);
}

TEST(SearchTieState, ShortfallFallsBackToTheLastCandidateVisited) {
    AtcTable atc{};
    atc.mw = {300.0f, 200.0f, 100.0f};
    atc.probability = {0.5f, 0.25f, 0.125f};
    // Cumulative shares: row 3 0.125, row 2 0.375, row 1 0.875.
    EXPECT_EQ(searchTieState(atc, 1.0f, 0.125f), 3);
    EXPECT_EQ(searchTieState(atc, 1.0f, 0.875f), 1);
    EXPECT_EQ(searchTieState(atc, 1.0f, 0.9f), 1);

    atc.mw[0] = -300.0f;  // row 1 exports: row 2 is now the lowest candidate
    EXPECT_EQ(searchTieState(atc, 1.0f, 0.375f), 2);
    EXPECT_EQ(searchTieState(atc, 1.0f, 0.9f), 2);
}

TEST(SearchTieState, NearlyCompleteTableTakesItsOnlyCandidate) {
    AtcTable atc{};
    atc.mw = {300.0f, 200.0f};
    atc.probability = {0.0f, 0.9999991f};
    const float reduced = tieProbabilities(atc).atcReducedProb;
    EXPECT_EQ(searchTieState(atc, reduced, 1.0f - 0x1p-24f), 2);
}

TEST(SearchTieState, NoCandidateAtAll) {
    AtcTable atc{};
    atc.mw = {-300.0f, -200.0f, 100.0f};
    atc.probability = {0.5f, 0.5f, 0.0f};
    EXPECT_EQ(searchTieState(atc, 0.5f, 0.0f), 0);
}

TEST(AdvanceTie, ReducedTieReturnsAtOneEighthBoundaryIncluded) {
    const AtcTable atc = builtInAtcTable();
    const TransitionProbabilities probabilities = tieProbabilities(atc);
    struct Case {
        float draw;
        int row;
    };
    for (Case c : {Case{0.125f, 1}, Case{0.125f + 0x1p-24f, 2}}) {
        TieState tie = tieIn(2);
        std::uint32_t seed = seedBeforeDraw(c.draw);
        const std::uint32_t start = seed;
        ASSERT_TRUE(advanceTie(atc, probabilities, tie, seed));
        EXPECT_EQ(tie.atcState, c.row);
        EXPECT_EQ(tie.atcStateHours[c.row - 1], 1.0);
        EXPECT_EQ(seed, afterDraws(start, 1));
    }
}

TEST(AdvanceTie, LeavingRowOneDrawsTwiceAndCountsTheNewRow) {
    const AtcTable atc = builtInAtcTable();
    const TransitionProbabilities probabilities = tieProbabilities(atc);
    TieState tie = tieIn(1);
    std::uint32_t seed = seedBeforeDraw(probabilities.atcLeaveProb);
    const std::uint32_t start = seed;
    ASSERT_TRUE(advanceTie(atc, probabilities, tie, seed));
    EXPECT_EQ(tie.atcState, 2);
    EXPECT_EQ(tie.atcStateHours[1], 1.0);
    EXPECT_EQ(tie.atcStateHours[0], 0.0);
    EXPECT_EQ(seed, afterDraws(start, 2));
}

TEST(AdvanceTie, StayingInRowOneDrawsOnce) {
    const AtcTable atc = builtInAtcTable();
    const TransitionProbabilities probabilities = tieProbabilities(atc);
    TieState tie = tieIn(1);
    tie.atcStateHours[0] = 5.0;
    std::uint32_t seed = seedBeforeDraw(probabilities.atcLeaveProb + 0x1p-24f);
    const std::uint32_t start = seed;
    ASSERT_TRUE(advanceTie(atc, probabilities, tie, seed));
    EXPECT_EQ(tie.atcState, 1);
    EXPECT_EQ(tie.atcStateHours[0], 6.0);
    EXPECT_EQ(seed, afterDraws(start, 1));
}

TEST(AdvanceTie, LeavingRowOneMayLandInRowOneAgain) {
    AtcTable atc{};
    atc.mw = {300.0f, 200.0f};
    atc.probability = {0.5f, 0.5f};
    const TransitionProbabilities probabilities = tieProbabilities(atc);
    atc.mw[1] = -200.0f;  // row 1 is the only candidate left
    TieState tie = tieIn(1);
    std::uint32_t seed = seedBeforeDraw(0.0f);
    const std::uint32_t start = seed;
    ASSERT_TRUE(advanceTie(atc, probabilities, tie, seed));
    EXPECT_EQ(tie.atcState, 1);
    EXPECT_EQ(tie.atcStateHours[0], 1.0);
    EXPECT_EQ(seed, afterDraws(start, 2));
}

TEST(AdvanceTie, FailsWhenRowOneMustBeLeftForNowhere) {
    AtcTable atc{};
    atc.mw = {-300.0f, -200.0f};
    atc.probability = {0.0f, 1.0f};  // leave probability +infinity
    const TransitionProbabilities probabilities = tieProbabilities(atc);
    TieState tie = tieIn(1);
    std::uint32_t seed = ranInitialSeed;
    EXPECT_FALSE(advanceTie(atc, probabilities, tie, seed));
}

}  // namespace
}  // namespace adequacy

namespace adequacy {
namespace {

AtcTable tableOf(std::initializer_list<std::pair<float, float>> rows) {
    AtcTable table{};
    std::size_t r = 0;
    for (auto [mw, probability] : rows) {
        table.mw[r] = mw;
        table.probability[r++] = probability;
    }
    // The residue rows as the run's check sets them.
    float importZero = 1.0f;
    for (std::size_t i = 0; i < atcEnteredRows; ++i)
        if (table.mw[i] > 0.0f) importZero -= table.probability[i];
    table.probability[atcZeroImportRow - 1] = importZero;
    return table;
}

// The long-run shares are the chain's own: a table that starts with its
// normal import row gets its probabilities back; one whose row 1 has no
// probability is still in row 1 for one hour in nine (it is left at once,
// and every other row after 8 hours on average). The chain run hour by hour
// for a million hours is the oracle, within 0.005.
TEST(TieLongRunShares, AreTheSharesOfHoursTheChainSpendsInEachRow) {
    struct Case {
        AtcTable table;
        std::array<double, atcTieStates> shares;
    };
    const Case cases[] = {
        {tableOf({{300.0f, 0.99f}, {200.0f, 0.01f}, {-300.0f, 1.0f}}), {0.99, 0.01}},
        {tableOf({{300.0f, 0.6f}, {200.0f, 0.3f}, {100.0f, 0.05f}}),
         {0.6, 0.3, 0.05, 0, 0, 0, 0, 0, 0, 0, 0.05}},
        {tableOf({{300.0f, 0.0f}, {200.0f, 0.5f}}),
         {1.0 / 9, 4.0 / 9, 0, 0, 0, 0, 0, 0, 0, 0, 4.0 / 9}},
    };
    for (const Case& c : cases) {
        const auto shares = tieLongRunShares(c.table);
        ASSERT_TRUE(shares.has_value());
        const TransitionProbabilities probabilities = tieProbabilities(c.table);
        TieState tie = tieIn(1);
        tie.atcStateHours = {};
        std::uint32_t seed = 3;
        constexpr int hours = 1000000;
        for (int h = 0; h < hours; ++h) ASSERT_TRUE(advanceTie(c.table, probabilities, tie, seed));
        for (std::size_t row = 0; row < atcTieStates; ++row) {
            EXPECT_NEAR((*shares)[row], c.shares[row], 1e-6) << "row " << row + 1;
            EXPECT_NEAR(tie.atcStateHours[row] / hours, c.shares[row], 0.005) << "row " << row + 1;
        }
    }
    // No row can receive a tie that leaves row 1 (no import row, no residue):
    // the simulation would stop, and there are no shares.
    AtcTable stranded = tableOf({{-300.0f, 0.5f}});
    stranded.probability[atcZeroImportRow - 1] = 0.0f;
    EXPECT_FALSE(tieLongRunShares(stranded).has_value());
}

}  // namespace
}  // namespace adequacy
