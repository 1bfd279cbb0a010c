#include "montecarlo/fast/lcg_jump.hpp"

#include <gtest/gtest.h>

#include <cstdint>

#include "montecarlo/draws.hpp"
#include "montecarlo/random.hpp"

namespace adequacy {
namespace {

TEST(LcgJump, ZeroStepsIsTheIdentity) {
    EXPECT_EQ(lcgJump(0).multiplier, 1u);
    EXPECT_EQ(lcgJump(0).increment, 0u);
    EXPECT_EQ(seedAfter(12345u, 0), 12345u);
}

TEST(LcgJump, OneStepIsTheGenerator) {
    EXPECT_EQ(lcgJump(1).multiplier, 69069u);
    EXPECT_EQ(lcgJump(1).increment, 1u);
    // From seed 3 the generator gives 207208, then 1426747465.
    EXPECT_EQ(seedAfter(ranInitialSeed, 1), 207208u);
    EXPECT_EQ(seedAfter(ranInitialSeed, 2), 1426747465u);
}

TEST(LcgJump, EveryTableEntryEqualsThatManyDraws) {
    for (std::uint32_t start : {0u, 3u, 0x80000000u, 0xFFFFFFFFu, 2718281828u}) {
        std::uint32_t seed = start;
        for (int steps = 0; steps < jumpTableSize; ++steps) {
            ASSERT_EQ(seedAfter(start, steps), seed) << start << " after " << steps;
            ASSERT_EQ(jumpSeed(lcgJump(steps), start), seed) << start << " after " << steps;
            ran(seed);
        }
    }
}

TEST(LcgJump, JumpsCompose) {
    const std::uint32_t start = 987654321u;
    for (int first : {0, 1, 57, 111}) {
        for (int second : {0, 1, 110, 144}) {
            EXPECT_EQ(seedAfter(seedAfter(start, first), second), seedAfter(start, first + second));
        }
    }
}

TEST(LcgJump, AnHourWithoutEventsIs111Draws) {
    EXPECT_EQ(seedAfter(ranInitialSeed, 111), testing::afterDraws(ranInitialSeed, 111));
}

}  // namespace
}  // namespace adequacy
