#include "montecarlo/fast/draw_threshold.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace adequacy {
namespace {

constexpr float infinity = std::numeric_limits<float>::infinity();
constexpr float nan = std::numeric_limits<float>::quiet_NaN();

// The draw with top bits k, as the generator forms it.
float drawOf(std::int32_t k) { return static_cast<float>(k) * 0x1p-24f; }

// Checks both thresholds against the float comparisons for the draws around
// the threshold and at both ends of the range.
void expectExact(float p) {
    const std::int32_t atOrBelow = drawsAtOrBelow(p);
    const std::int32_t notAbove = drawsNotAbove(p);
    for (std::int32_t k : {0, 1, atOrBelow - 2, atOrBelow - 1, atOrBelow, atOrBelow + 1,
                           drawCount - 2, drawCount - 1}) {
        if (k < 0 || k >= drawCount) continue;
        const float r = drawOf(k);
        EXPECT_EQ(k < atOrBelow, happens(r, p)) << "p " << p << ", k " << k;
        EXPECT_EQ(k < notAbove, fails(r, p)) << "p " << p << ", k " << k;
    }
}

TEST(DrawThreshold, BoundaryProbabilities) {
    const float tiny = std::numeric_limits<float>::denorm_min();
    for (float p : {0.0f,
                    -0.0f,
                    tiny,
                    -tiny,
                    0x1p-25f,
                    0x1p-24f,
                    std::nextafter(0x1p-24f, 0.0f),
                    std::nextafter(0x1p-24f, 1.0f),
                    0.125f,
                    std::nextafter(0.125f, 0.0f),
                    std::nextafter(0.125f, 1.0f),
                    0.0012626251f,
                    0.5f,
                    1.0f - 0x1p-24f,
                    std::nextafter(1.0f - 0x1p-24f, 0.0f),
                    1.0f,
                    1.5f,
                    1.0e30f,
                    infinity,
                    -infinity,
                    -0.5f,
                    nan}) {
        expectExact(p);
    }
}

TEST(DrawThreshold, Counts) {
    EXPECT_EQ(drawsAtOrBelow(0.0f), 0);  // not even r = 0: a probability of 0 never fires
    EXPECT_EQ(drawsAtOrBelow(-0.0f), 0);
    EXPECT_EQ(drawsNotAbove(0.0f), 0);
    EXPECT_EQ(drawsAtOrBelow(-1.0e-30f), 0);
    EXPECT_EQ(drawsAtOrBelow(0.125f), (1 << 21) + 1);
    EXPECT_EQ(drawsAtOrBelow(1.0f - 0x1p-24f), drawCount);
    EXPECT_EQ(drawsAtOrBelow(infinity), drawCount);
    EXPECT_EQ(drawsAtOrBelow(-infinity), 0);
    EXPECT_EQ(drawsAtOrBelow(nan), 0);
    EXPECT_EQ(drawsNotAbove(nan), drawCount);
    EXPECT_EQ(drawsNotAbove(0.125f), drawsAtOrBelow(0.125f));
}

TEST(DrawThreshold, ManyProbabilities) {
    std::mt19937 generator(20260);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int i = 0; i < 20000; ++i) {
        const float p = unit(generator);
        // Small probabilities, as the hourly rates are, as well.
        expectExact(p);
        expectExact(p * 0.01f);
    }
}

TEST(DrawThreshold, DrawFiresOnTheSeedThatTheGeneratorLeaves) {
    // The seed holds k in its top 24 bits; its low 8 bits never count.
    const std::int32_t threshold = drawsAtOrBelow(0.25f);  // k <= 2^22
    EXPECT_TRUE(drawFires((std::uint32_t{1} << 30) | 0xFFu, threshold));
    EXPECT_FALSE(drawFires((std::uint32_t{1} << 30) + 0x100u, threshold));
    EXPECT_TRUE(drawFires(0xFFFFFFFFu, drawCount));
    EXPECT_FALSE(drawFires(0u, 0));
}

}  // namespace
}  // namespace adequacy
