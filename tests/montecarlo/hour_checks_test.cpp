#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "montecarlo/draw_threshold.hpp"
#include "montecarlo/draws.hpp"
#include "montecarlo/hour_lanes.hpp"
#include "montecarlo/random.hpp"

namespace adequacy {
namespace {

struct Named {
    HourChecks checks;
    std::string name;
};

// Every set of checks this processor runs.
std::vector<Named> available() {
    std::vector<Named> sets{{scalarHourChecks(), "scalar"}};
    if (avx2Available()) sets.push_back({avx2HourChecks(), "avx2"});
    if (avx512Available()) sets.push_back({avx512HourChecks(), "avx512"});
    return sets;
}

// Thresholds as the rates give them, with lanes that always and never fire
// mixed in when `extremes`.
LaneThresholds randomThresholds(std::mt19937& generator, bool extremes) {
    std::uniform_int_distribution<std::int32_t> rate(0, drawCount / 64);
    std::uniform_int_distribution<int> pick(0, 40);
    LaneThresholds thresholds{};
    for (int lane = 0; lane < tieLane + 1; ++lane) {
        const int kind = extremes ? pick(generator) : 2;
        thresholds.draws[lane] = kind == 0 ? 0 : kind == 1 ? drawCount : rate(generator);
    }
    thresholds.draws[tieLane + 1] = 0;
    return thresholds;
}

// The lanes that fire, drawn one by one from the generator.
LaneMask firingLanes(const LaneThresholds& thresholds, std::uint32_t seed, int shift) {
    for (int skip = 0; skip < shift; ++skip) ran(seed);
    LaneMask mask{0, 0};
    for (int lane = 0; lane < hourLanes; ++lane) {
        const float r = ran(seed);
        if (static_cast<std::int32_t>(r * 0x1p24f) < thresholds.draws[lane]) mask.set(lane);
    }
    return mask;
}

TEST(LaneMask, LowestClearAndAfter) {
    LaneMask mask{0, 0};
    EXPECT_TRUE(mask.none());
    for (int lane : {3, 63, 64, 110}) mask.set(lane);
    EXPECT_EQ(mask.lowest(), 3);
    EXPECT_EQ(mask.after(2).lowest(), 3);
    EXPECT_EQ(mask.after(3).lowest(), 63);
    EXPECT_EQ(mask.after(63).lowest(), 64);
    EXPECT_EQ(mask.after(64).lowest(), 110);
    EXPECT_TRUE(mask.after(110).none());
    EXPECT_TRUE(mask.after(127).none());
    mask.clear(3);
    mask.clear(63);
    EXPECT_EQ(mask, (LaneMask{0, (std::uint64_t{1} << 0) | (std::uint64_t{1} << 46)}));
}

TEST(HourChecks, EverySetFindsTheLanesThatTheDrawsFire) {
    std::mt19937 generator(111);
    std::uniform_int_distribution<std::uint32_t> seeds;
    std::uniform_int_distribution<int> shifts(0, hourDraws);
    for (int trial = 0; trial < 3000; ++trial) {
        const LaneThresholds thresholds = randomThresholds(generator, trial % 2 == 0);
        const std::uint32_t seed = seeds(generator);
        const int shift = trial < 200 ? trial % (hourDraws + 1) : shifts(generator);
        const LaneMask expected = firingLanes(thresholds, seed, shift);
        for (const Named& set : available()) {
            ASSERT_EQ(set.checks.check(thresholds, seed, shift), expected)
                << set.name << ", seed " << seed << ", shift " << shift;
        }
    }
}

TEST(HourChecks, QuietRunsEndAtTheFirstHourThatFires) {
    std::mt19937 generator(8760);
    std::uniform_int_distribution<std::uint32_t> seeds;
    for (int trial = 0; trial < 300; ++trial) {
        LaneThresholds thresholds = randomThresholds(generator, false);
        // Low rates, as the built-in units have, give runs of many hours.
        for (std::int32_t& draws : thresholds.draws) draws /= 16;
        const std::uint32_t seed = seeds(generator);
        const int limit = trial % 7 == 0 ? trial % 5 : 200;
        const QuietRun run = scalarHourChecks().scan(thresholds, seed, limit);
        std::uint32_t hourSeed = seed;
        for (int hour = 0; hour < run.hours; ++hour) {
            ASSERT_TRUE(firingLanes(thresholds, hourSeed, 0).none());
            hourSeed = testing::afterDraws(hourSeed, hourDraws);
        }
        ASSERT_EQ(run.seed, hourSeed);
        ASSERT_LE(run.hours, limit);
        if (run.hours < limit) {
            ASSERT_FALSE(run.fired.none());
            ASSERT_EQ(run.fired, firingLanes(thresholds, hourSeed, 0));
        }
        for (const Named& set : available()) {
            const QuietRun other = set.checks.scan(thresholds, seed, limit);
            ASSERT_EQ(other.hours, run.hours) << set.name;
            ASSERT_EQ(other.seed, run.seed) << set.name;
            if (run.hours < limit) {
                ASSERT_EQ(other.fired, run.fired) << set.name;
            }
        }
    }
}

}  // namespace
}  // namespace adequacy
