#include "montecarlo/units.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "montecarlo/draws.hpp"
#include "montecarlo/random.hpp"

namespace adequacy {
namespace {

using testing::afterDraws;
using testing::seedBeforeDraw;

TEST(UnitTypeRates, BuiltInRepairAndFailureProbabilities) {
    struct Expected {
        float repairProb;
        float failProb;
    };
    // The repair times are 120, 120, 120, 168, 168, 336, 504, 672, 672 and
    // 1008 hours.
    const Expected expected[builtInTypeCount] = {
        {0.0083333338f, 0.0014705883f},   {0.0083333338f, 0.00092592597f},
        {0.0083333338f, 0.00082417583f},  {0.0059523811f, 0.00044802867f},
        {0.0059523811f, 0.00037993921f},  {0.0029761905f, 0.0001566416f},
        {0.0019841271f, 0.000082671955f}, {0.0014880953f, 0.000062003965f},
        {0.0014880953f, 0.000062003965f}, {0.00099206355f, 0.000041335978f},
    };
    const UnitTypes units = builtInUnitTypes();
    for (int type = 0; type < builtInTypeCount; ++type) {
        const UnitTypeRates rates = unitTypeRates(units, type);
        EXPECT_EQ(rates.repairProb, expected[type].repairProb) << "type " << type + 1;
        EXPECT_EQ(rates.failProb, expected[type].failProb) << "type " << type + 1;
    }
}

TEST(UnitTypeRates, ShareOfFailuresThatDerate) {
    UnitTypes units = builtInUnitTypes();
    EXPECT_EQ(unitTypeRates(units, 0).deratedShare, 0.0f);  // no derated state
    units.forcedOutageRate[1] = 0.05f;
    units.deratedProbability[1] = 0.15f;
    // The outage probability is rounded to single precision first, as the
    // initial draw compares with it.
    const float q = 0.05f + 0.15f;
    EXPECT_EQ(unitTypeRates(units, 1).deratedShare,
              static_cast<float>(static_cast<double>(0.15f) / static_cast<double>(q)));
    EXPECT_FLOAT_EQ(unitTypeRates(units, 1).deratedShare, 0.75f);
    units.forcedOutageRate[2] = 0.0f;
    units.deratedProbability[2] = 0.3f;
    EXPECT_EQ(unitTypeRates(units, 2).deratedShare, 1.0f);  // every failure derates
    units.deratedProbability[3] = 0.0f;
    units.forcedOutageRate[3] = 0.0f;
    EXPECT_EQ(unitTypeRates(units, 3).deratedShare, 0.0f);  // a unit that never fails
}

TEST(SetUpUnits, DrawsOncePerUnitInUnitOrder) {
    const UnitTypes units = builtInUnitTypes();
    std::vector<int> unitState;
    TransitionProbabilities probabilities{};
    std::uint32_t seed = ranInitialSeed;
    setUpUnits(units, seed, unitState, probabilities);
    ASSERT_EQ(unitState.size(), 110u);
    ASSERT_EQ(probabilities.unitFailProb.size(), 110u);

    std::uint32_t replay = ranInitialSeed;
    for (int u = 0; u < units.unitCount(); ++u) {
        const int type = units.typeOf(u);
        // No built-in unit can start derated: its probability is 0.
        const int expected = ran(replay) < units.forcedOutageRate[type] ? unitOut : unitUp;
        EXPECT_EQ(unitState[u], expected) << "unit " << u + 1;
        const UnitTypeRates rates = unitTypeRates(units, type);
        EXPECT_EQ(probabilities.unitRepairProb[u], rates.repairProb);
        EXPECT_EQ(probabilities.unitFailProb[u], rates.failProb);
        EXPECT_EQ(probabilities.unitDeratedShare[u], 0.0f);
    }
    EXPECT_EQ(seed, replay);
}

TEST(SetUpUnits, InitialStateBoundaries) {
    UnitTypes units = builtInUnitTypes();
    units.forcedOutageRate.assign(units.forcedOutageRate.size(), 0.25f);
    units.deratedProbability.assign(units.deratedProbability.size(), 0.25f);
    struct Case {
        float draw;
        int state;
    };
    // Derated below 0.25, out below 0.5, up from 0.5: the bounds are strict.
    for (Case c : {Case{0.0f, unitDerated}, Case{0.25f - 0x1p-24f, unitDerated},
                   Case{0.25f, unitOut}, Case{0.5f - 0x1p-24f, unitOut}, Case{0.5f, unitUp}}) {
        std::vector<int> unitState;
        TransitionProbabilities probabilities{};
        std::uint32_t seed = seedBeforeDraw(c.draw);
        setUpUnits(units, seed, unitState, probabilities);
        EXPECT_EQ(unitState[0], c.state) << c.draw;
    }
}

TEST(NextUnitState, UpUnitFailsAtOrBelowItsFailureProbabilityAndDrawsAgain) {
    constexpr float failProb = 0.25f;
    std::uint32_t seed = seedBeforeDraw(failProb + 0x1p-24f);
    const std::uint32_t above = seed;
    EXPECT_EQ(nextUnitState(unitUp, failProb, 1.0f, 0.0f, seed), unitUp);
    EXPECT_EQ(seed, afterDraws(above, 1));

    seed = seedBeforeDraw(failProb);
    const std::uint32_t at = seed;
    EXPECT_EQ(nextUnitState(unitUp, failProb, 1.0f, 0.0f, seed), unitOut);
    // Even with no derated state possible the second draw is taken.
    EXPECT_EQ(seed, afterDraws(at, 2));
}

TEST(NextUnitState, SecondDrawAtOrBelowTheDeratedShareDerates) {
    const std::uint32_t start = seedBeforeDraw(0.25f);
    std::uint32_t probe = afterDraws(start, 1);
    const float second = ran(probe);
    std::uint32_t seed = start;
    EXPECT_EQ(nextUnitState(unitUp, 0.5f, 1.0f, second, seed), unitDerated);
    seed = start;
    EXPECT_EQ(nextUnitState(unitUp, 0.5f, 1.0f, second - 0x1p-24f, seed), unitOut);
}

TEST(NextUnitState, AProbabilityOfZeroNeverComesTrueEvenOnADrawOfZero) {
    // From this seed the next two draws are both exactly 0.
    const std::uint32_t zeros = seedBeforeDraw(0.0f);
    std::uint32_t seed = zeros;
    EXPECT_EQ(nextUnitState(unitUp, 0.5f, 1.0f, 0.0f, seed), unitOut);  // no derated share
    seed = zeros;
    EXPECT_EQ(nextUnitState(unitUp, 0.0f, 1.0f, 1.0f, seed), unitUp);  // no failures
    EXPECT_EQ(seed, afterDraws(zeros, 1));
    seed = zeros;
    EXPECT_EQ(nextUnitState(unitOut, 0.5f, 0.0f, 1.0f, seed), unitOut);  // never repaired
}

TEST(NextUnitState, OutOrDeratedUnitReturnsAtOrBelowTheRepairProbability) {
    constexpr float repairProb = 0.125f;
    for (int state : {unitOut, unitDerated}) {
        std::uint32_t seed = seedBeforeDraw(repairProb);
        const std::uint32_t at = seed;
        EXPECT_EQ(nextUnitState(state, 0.0f, repairProb, 1.0f, seed), unitUp);
        EXPECT_EQ(seed, afterDraws(at, 1));

        seed = seedBeforeDraw(repairProb + 0x1p-24f);
        EXPECT_EQ(nextUnitState(state, 1.0f, repairProb, 1.0f, seed), state)
            << "a unit not repaired cannot fail in the same step";
    }
}

TEST(AvailableMw, FullCapacityUpDeratedFigureWhenDeratedNothingOut) {
    UnitTypes units = builtInUnitTypes();
    units.deratedMw[9] = 100;
    EXPECT_EQ(availableMw(units, 9, unitUp), 276);
    EXPECT_EQ(availableMw(units, 9, unitDerated), 100);
    EXPECT_EQ(availableMw(units, 9, unitOut), 0);
}

}  // namespace
}  // namespace adequacy
