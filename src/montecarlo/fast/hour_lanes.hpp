#pragma once
// An hour seen as lanes of draws, for a system of n units: lane u < n is the
// draw of unit u + 1, lane n the draw of the tie, and the lanes after it pad
// the hour to whole vectors of the widest width and never fire. Lane j draws
// at position j + 1 + shift after the hour's first seed, where shift counts
// the second draws taken earlier in the hour. A lane fires when its draw
// changes its unit or tie, or takes a second draw: an hour in which no lane
// fires changes nothing but the seed, by n + 1 draws. The lanes that fire are
// reported 64 at a time: bit b of word w is lane 64 w + b.

#include <array>
#include <bit>
#include <cstdint>
#include <optional>

#include "model/system_data.hpp"
#include "montecarlo/fast/checks/loss_scan.hpp"
#include "montecarlo/fast/lcg_jump.hpp"

namespace adequacy {

// Lanes come in whole vectors of this many, the width of the widest checks.
inline constexpr int laneVectorWidth = 16;

// The fast loop's limit on the lanes of an hour (units, tie and padding); a
// system with more units is left to the reference loop. The jumps reach the
// draws of the largest hour shifted by one second draw per unit.
inline constexpr int maxHourLanes = 4096;
static_assert(2 * maxHourLanes + laneVectorWidth <= jumpTableSize);

constexpr int laneWords(int lanes) { return (lanes + 63) / 64; }

// The lanes of an hour of a system of `unitCount` units.
constexpr int hourLanesFor(int unitCount) {
    return (unitCount + 1 + laneVectorWidth - 1) / laneVectorWidth * laneVectorWidth;
}

// Whether the fast loop can lay out an hour of this many units.
constexpr bool fitsHourLanes(int unitCount) { return hourLanesFor(unitCount) <= maxHourLanes; }

// Per lane, the number of 24-bit draws k that fire it in its current state:
// the lane fires when k < draws (see draw_threshold.hpp). Only the first
// `lanes` entries are in use.
struct alignas(64) LaneThresholds {
    std::array<std::int32_t, maxHourLanes> draws;
    int lanes;    // in use: units, tie and padding
    int tieLane;  // the unit count

    // Draws of an hour without events: one per unit and one for the tie.
    int hourDraws() const { return tieLane + 1; }
};

// The lanes of word `word` that fire in the hour starting from `hourSeed`,
// every lane shifted by `shift` positions (0 <= shift <= the tie lane).
using HourCheck = std::uint64_t (*)(const LaneThresholds& thresholds, std::uint32_t hourSeed,
                                    int shift, int word);

// The jump of a whole hour without events.
inline LcgJump quietHourJump(const LaneThresholds& thresholds) {
    return LcgJump{jumpTable.multiplier[static_cast<std::size_t>(thresholds.hourDraws())],
                   jumpTable.increment[static_cast<std::size_t>(thresholds.hourDraws())]};
}

// A run of hours in which no lane fires and the seed that starts the hour
// after it, in which some lane fires if the run ended before its limit; the
// lanes of words 0 and 1 (lanes 0..127) that fire in that hour, which the
// scan has at hand, so that the replay of a small system need not check
// them again.
inline constexpr int carriedWords = 2;
struct QuietRun {
    int hours;
    std::uint32_t seed;
    std::array<std::uint64_t, carriedWords> fired;
};

// The lanes of the first two words (lanes 0..127) as one set.
struct LaneWords {
    std::uint64_t low;
    std::uint64_t high;

    // Without branches: the lanes that fire are as good as random. The low
    // word's count is 64 exactly when it is empty; GCC, which knows as much,
    // would turn the sum back into a branch on the low word if it could see
    // where the count comes from.
    int first() const {
        int inLow = std::countr_zero(low);
#if defined(__GNUC__)
        __asm__("" : "+r"(inLow));
#endif
        return inLow + (std::countr_zero(high) & -(inLow >> 6));
    }
    void dropFirst() {
        const std::uint64_t inLow = std::uint64_t{0} - static_cast<std::uint64_t>(low != 0);
        low &= low - 1;
        high &= (high - 1) | inLow;
    }
    // Without branches too: a lane is as likely in either word.
    void add(int lane) {
        const std::uint64_t bit = std::uint64_t{1} << (lane % 64);
        const std::uint64_t inLow = lowMask(lane);
        low |= bit & inLow;
        high |= bit & ~inLow;
    }
    // The lanes of the set after `lane`.
    LaneWords after(int lane) const {
        const std::uint64_t above = ~std::uint64_t{0} << (lane % 64) << 1;
        const std::uint64_t inLow = lowMask(lane);
        return {low & above & inLow, high & (above | inLow)};
    }
    // All ones if `lane` is in the low word, else none.
    static std::uint64_t lowMask(int lane) {
        return std::uint64_t{0} - static_cast<std::uint64_t>(lane < 64);
    }
};

// Counts the hours from `hourSeed` on, at most `limit`, in which no lane
// fires; the run ends before the first hour in which one does.
using QuietScan = QuietRun (*)(const LaneThresholds& thresholds, std::uint32_t hourSeed, int limit);

// Fills the carried words of a run from the check of its last hour.
inline void carryFiredWords(const LaneThresholds& thresholds, QuietRun& run, HourCheck check) {
    for (int word = 0; word < carriedWords && word < laneWords(thresholds.lanes); ++word)
        run.fired[static_cast<std::size_t>(word)] = check(thresholds, run.seed, 0, word);
}

struct SimulationInputs;
struct SimulationState;
struct YearRecords;
struct FastYearPlan;
struct LaneState;

// Replays the hour in which the run ended (see year_steps.hpp).
using HourReplay = bool (*)(const SimulationInputs& inputs, const FastYearPlan& plan,
                            const QuietRun& run, LaneState& lanes, SimulationState& state);

// Simulates one more year of a system that the lanes hold.
using FastYear = std::optional<YearRecords> (*)(const SimulationInputs& inputs,
                                                const FastYearPlan& plan, SimulationState& state);

// The steps of one instruction set made for hours of one number of lanes.
struct HourSteps {
    QuietScan scan;
    HourReplay replay;
    FastYear year;
};

// The checks of one instruction set; every set gives the same results.
// `check` and `scan` take hours of any number of lanes; `stepsOf` gives the
// steps made for hours of a given number of lanes, which the fast loop picks
// once.
struct HourChecks {
    HourCheck check;
    QuietScan scan;
    LossScan losses;
    HourSteps (*stepsOf)(int lanes);
};

HourChecks scalarHourChecks();
HourChecks avx2HourChecks();    // only where avx2Available()
HourChecks avx512HourChecks();  // only where avx512Available()

// How the AVX-512 checks join the lane masks of an hour into one answer:
// moved to general registers and or-ed, or by compares that each take the
// last one's result as their mask. Each vendor runs one of them faster, and
// avx512HourChecks() picks it; both give the same results.
enum class MaskJoin { generalRegisters, maskChain };
HourChecks avx512HourChecks(MaskJoin join);  // only where avx512Available()

// Whether this processor (and its operating system) runs the vector checks.
bool avx2Available();
bool avx512Available();

// The fastest checks this processor runs, chosen at run time.
HourChecks fastestHourChecks();

}  // namespace adequacy
