#include "montecarlo/random.hpp"

#include <gtest/gtest.h>

#include <cstdint>

#include "montecarlo/draws.hpp"

namespace adequacy {
namespace {

using testing::predecessor;

TEST(Ran, FirstDrawsFromTheInitialSeed) {
    std::uint32_t seed = ranInitialSeed;
    EXPECT_EQ(ran(seed), 809.0f * 0x1p-24f);
    EXPECT_EQ(seed, 207208u);
    EXPECT_EQ(ran(seed), 5573232.0f * 0x1p-24f);
    EXPECT_EQ(seed, 1426747465u);
    EXPECT_EQ(ran(seed), 1136799.0f * 0x1p-24f);
    EXPECT_EQ(seed, 291020662u);
}

TEST(Ran, ReturnsZeroWhenTheNewSeedIsBelow256) {
    for (std::uint32_t target : {0u, 1u, 255u}) {
        std::uint32_t seed = predecessor(target);
        EXPECT_EQ(ran(seed), 0.0f) << target;
        EXPECT_EQ(seed, target);
    }
    std::uint32_t seed = predecessor(256u);
    EXPECT_EQ(ran(seed), 0x1p-24f);
}

TEST(Ran, NeverReachesOne) {
    std::uint32_t seed = predecessor(0xFFFFFFFFu);
    const float r = ran(seed);
    EXPECT_EQ(r, 1.0f - 0x1p-24f);
    EXPECT_LT(r, 1.0f);
}

TEST(Ran, SeedBeforeDrawSteersTheNextNumber) {
    for (float draw : {0.0f, 0.125f, 0.5f + 0x1p-24f, 1.0f - 0x1p-24f}) {
        std::uint32_t seed = testing::seedBeforeDraw(draw);
        EXPECT_EQ(ran(seed), draw);
    }
}

}  // namespace
}  // namespace adequacy
