#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "montecarlo/draws.hpp"
#include "montecarlo/fast/draw_threshold.hpp"
#include "montecarlo/fast/hour_lanes.hpp"
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
    if (avx512Available()) {
        sets.push_back({avx512HourChecks(MaskJoin::generalRegisters), "avx512, masks or-ed"});
        sets.push_back({avx512HourChecks(MaskJoin::maskChain), "avx512, masks chained"});
    }
    return sets;
}

// Systems of the built-in size, smaller and larger: one vector of lanes,
// the most that the widest checks keep in registers (127 units, 128 lanes),
// one vector more, and four times the built-in size.
constexpr std::array<int, 6> unitCounts{110, 14, 37, 127, 128, 440};

// Thresholds as the rates give them for `units` units and the tie, with lanes
// that always and never fire mixed in when `extremes`.
LaneThresholds randomThresholds(std::mt19937& generator, bool extremes, int units) {
    std::uniform_int_distribution<std::int32_t> rate(0, drawCount / 64);
    std::uniform_int_distribution<int> pick(0, 40);
    LaneThresholds thresholds{};
    thresholds.lanes = hourLanesFor(units);
    thresholds.tieLane = units;
    for (int lane = 0; lane < units + 1; ++lane) {
        const int kind = extremes ? pick(generator) : 2;
        thresholds.draws[lane] = kind == 0 ? 0 : kind == 1 ? drawCount : rate(generator);
    }
    return thresholds;
}

// The lanes that fire, drawn one by one from the generator, 64 to a word.
std::vector<std::uint64_t> firingLanes(const LaneThresholds& thresholds, std::uint32_t seed,
                                       int shift) {
    for (int skip = 0; skip < shift; ++skip) ran(seed);
    std::vector<std::uint64_t> words(static_cast<std::size_t>(laneWords(thresholds.lanes)), 0);
    for (int lane = 0; lane < thresholds.lanes; ++lane) {
        const float r = ran(seed);
        if (static_cast<std::int32_t>(r * 0x1p24f) < thresholds.draws[lane])
            words[static_cast<std::size_t>(lane / 64)] |= std::uint64_t{1} << (lane % 64);
    }
    return words;
}

std::vector<std::uint64_t> checkedLanes(const HourChecks& checks, const LaneThresholds& thresholds,
                                        std::uint32_t seed, int shift) {
    std::vector<std::uint64_t> words;
    for (int word = 0; word < laneWords(thresholds.lanes); ++word)
        words.push_back(checks.check(thresholds, seed, shift, word));
    return words;
}

bool noneFires(const std::vector<std::uint64_t>& words) {
    for (std::uint64_t word : words)
        if (word != 0) return false;
    return true;
}

// The words a scan carries are the lanes that fire in the hour it ended at.
void expectCarriedWords(const QuietRun& run, const std::vector<std::uint64_t>& firing) {
    for (std::size_t word = 0; word < run.fired.size() && word < firing.size(); ++word)
        ASSERT_EQ(run.fired[word], firing[word]) << "word " << word;
}

TEST(HourLanes, LayoutFollowsTheUnits) {
    EXPECT_EQ(hourLanesFor(110), 112);  // the built-in system: seven vectors
    EXPECT_EQ(hourLanesFor(14), 16);
    EXPECT_EQ(hourLanesFor(15), 16);
    EXPECT_EQ(hourLanesFor(16), 32);
    EXPECT_EQ(hourLanesFor(440), 448);
    EXPECT_EQ(laneWords(112), 2);
    EXPECT_EQ(laneWords(448), 7);
    EXPECT_TRUE(fitsHourLanes(maxHourLanes - 1));
    EXPECT_FALSE(fitsHourLanes(maxHourLanes));
}

TEST(HourChecks, EverySetFindsTheLanesThatTheDrawsFire) {
    std::mt19937 generator(111);
    std::uniform_int_distribution<std::uint32_t> seeds;
    for (int trial = 0; trial < 3000; ++trial) {
        const int units = unitCounts[static_cast<std::size_t>(trial) % unitCounts.size()];
        const LaneThresholds thresholds = randomThresholds(generator, trial % 2 == 0, units);
        const std::uint32_t seed = seeds(generator);
        // Shifts up to one per unit, the most that an hour takes.
        std::uniform_int_distribution<int> shifts(0, units);
        const int shift = trial < 600 ? trial % (units + 1) : shifts(generator);
        const std::vector<std::uint64_t> expected = firingLanes(thresholds, seed, shift);
        for (const Named& set : available()) {
            ASSERT_EQ(checkedLanes(set.checks, thresholds, seed, shift), expected)
                << set.name << ", " << units << " units, seed " << seed << ", shift " << shift;
        }
    }
}

TEST(HourChecks, QuietRunsEndAtTheFirstHourThatFires) {
    std::mt19937 generator(8760);
    std::uniform_int_distribution<std::uint32_t> seeds;
    for (int trial = 0; trial < 600; ++trial) {
        const int units = unitCounts[static_cast<std::size_t>(trial) % unitCounts.size()];
        // Low rates, as the built-in units have, give runs of many hours; now
        // and then a lane that always fires ends the run at once.
        LaneThresholds thresholds = randomThresholds(generator, false, units);
        for (std::int32_t& draws : thresholds.draws) draws /= 16;
        if (trial % 11 == 0)
            thresholds.draws[static_cast<std::size_t>(trial % (units + 1))] = drawCount;
        const std::uint32_t seed = seeds(generator);
        const int limit = trial % 7 == 0 ? trial % 5 : 200;
        const QuietRun run = scalarHourChecks().scan(thresholds, seed, limit);
        std::uint32_t hourSeed = seed;
        for (int hour = 0; hour < run.hours; ++hour) {
            ASSERT_TRUE(noneFires(firingLanes(thresholds, hourSeed, 0)));
            hourSeed = testing::afterDraws(hourSeed, units + 1);
        }
        ASSERT_EQ(run.seed, hourSeed);
        ASSERT_LE(run.hours, limit);
        if (run.hours < limit) {
            ASSERT_FALSE(noneFires(firingLanes(thresholds, hourSeed, 0)));
        }
        for (const Named& set : available()) {
            const QuietRun other = set.checks.scan(thresholds, seed, limit);
            ASSERT_EQ(other.hours, run.hours) << set.name << ", " << units << " units";
            ASSERT_EQ(other.seed, run.seed) << set.name << ", " << units << " units";
            if (run.hours == limit) continue;
            SCOPED_TRACE(set.name);
            expectCarriedWords(other, firingLanes(thresholds, hourSeed, 0));
        }
    }
}

// The replay of a small hour walks both words as one set of lanes, and after
// a second draw keeps the lanes past the one that drew; the word boundary and
// the last lane are where a slip would hide.
TEST(LaneWords, AddAndWalkTheLanesInOrderAndKeepThoseAfterALane) {
    std::mt19937_64 generator(7);
    for (int trial = 0; trial < 200; ++trial) {
        const std::uint64_t low = trial % 4 == 0 ? 0 : generator();
        const std::uint64_t high = trial % 4 == 1 ? 0 : generator() | (std::uint64_t{1} << 63);
        auto isSet = [&](int lane) { return ((lane < 64 ? low : high) >> (lane % 64)) & 1; };
        std::vector<int> expected;
        for (int lane = 0; lane < 128; ++lane)
            if (isSet(lane)) expected.push_back(lane);
        std::vector<int> walked;
        for (LaneWords set{low, high}; (set.low | set.high) != 0; set.dropFirst())
            walked.push_back(set.first());
        ASSERT_EQ(walked, expected) << "trial " << trial;
        LaneWords added{0, 0};
        for (const int lane : expected) added.add(lane);
        ASSERT_EQ(added.low, low) << "trial " << trial;
        ASSERT_EQ(added.high, high) << "trial " << trial;
        for (const int lane : {0, 1, 62, 63, 64, 65, 126, 127}) {
            const LaneWords after = LaneWords{low, high}.after(lane);
            for (int other = 0; other < 128; ++other) {
                const bool kept = ((other < 64 ? after.low : after.high) >> (other % 64)) & 1;
                ASSERT_EQ(kept, other > lane && isSet(other)) << lane << " " << other;
            }
        }
    }
}

}  // namespace
}  // namespace adequacy
