#include "montecarlo/fast/hour_lanes.hpp"

#if defined(__x86_64__)
#include <immintrin.h>

#include "montecarlo/fast/draw_threshold.hpp"
#include "montecarlo/fast/fast_year.hpp"
#include "montecarlo/fast/lcg_jump.hpp"
#include "montecarlo/loss_of_load.hpp"
#include "montecarlo/random.hpp"
#include "montecarlo/tie.hpp"
#include "montecarlo/units.hpp"
#include "montecarlo/year.hpp"

#define ADEQUACY_CHECKS_TARGET __attribute__((target("avx512f")))
#include "montecarlo/fast/year_steps.hpp"
// The AVX-512 parts, after the year loop they are made for.
#include "montecarlo/fast/checks/avx512_lanes.hpp"
#include "montecarlo/fast/checks/avx512_register_year.hpp"
#endif

namespace adequacy {

#if defined(__x86_64__)

namespace {

// Hours of up to this many vectors keep their jumps and thresholds in
// registers while they scan (three registers a vector).
constexpr int registerVectors = 8;

ADEQUACY_AVX512 std::uint64_t checkWord(const LaneThresholds& thresholds, std::uint32_t hourSeed,
                                        int shift, int word) {
    const __m512i seed = _mm512_set1_epi32(static_cast<int>(hourSeed));
    const int first = 64 * word;
    const int last = first + 64 < thresholds.lanes ? first + 64 : thresholds.lanes;
    std::uint64_t fired = 0;
    for (int from = first; from < last; from += width)
        fired |= std::uint64_t{firesAt(thresholds, seed, from, shift)} << (from - first);
    return fired;
}

// The jumps and thresholds stay in registers for the whole run; a lane that
// always fires ends it before its first hour.
template <int vectors, MaskJoin join>
[[gnu::always_inline]] ADEQUACY_AVX512 inline QuietRun scanInRegisters(
    const LaneThresholds& thresholds, std::uint32_t hourSeed, int limit) {
    HourInRegisters<vectors> hour;
    __mmask16 always = 0;
    for (int vector = 0; vector < vectors; ++vector) {
        const int first = vector * width;
        hour.a[vector] = _mm512_loadu_si512(jumpTable.multiplier.data() + first + 1);
        hour.c[vector] = _mm512_loadu_si512(jumpTable.increment.data() + first + 1);
        const __m512i draws = _mm512_loadu_si512(thresholds.draws.data() + first);
        hour.always[vector] = firesAlways(draws);
        always = _kor_mask16(always, hour.always[vector]);
        hour.raw[vector] = rawThreshold(draws);
    }
    const LcgJump jump = quietHourJump(thresholds);
    QuietRun run{0, hourSeed, {}};
    unsigned bits[vectors];
    if (always != 0) {
        hour.fired(run.seed, bits);
        hour.carry(bits, run);
        return run;
    }
    if constexpr (join == MaskJoin::maskChain) {
        __m512i x[vectors];
        for (; run.hours < limit && hour.quiet(run.seed, x); ++run.hours)
            run.seed = jumpSeed(jump, run.seed);
        if (run.hours < limit) {
            hour.firedIn(x, bits);
            hour.carry(bits, run);
        }
        return run;
    }
    for (; run.hours < limit; ++run.hours) {
        if (hour.fired(run.seed, bits)) {
            hour.carry(bits, run);
            break;
        }
        run.seed = jumpSeed(jump, run.seed);
    }
    return run;
}

// Larger hours read their jumps and thresholds from memory (the first level
// cache) in every hour.
ADEQUACY_AVX512 QuietRun scanFromMemory(const LaneThresholds& thresholds, std::uint32_t hourSeed,
                                        int limit) {
    const LcgJump hour = quietHourJump(thresholds);
    QuietRun run{0, hourSeed, {}};
    for (; run.hours < limit; ++run.hours) {
        const __m512i seed = _mm512_set1_epi32(static_cast<int>(run.seed));
        __mmask16 any = 0;
        for (int first = 0; first < thresholds.lanes; first += width)
            any = static_cast<__mmask16>(any | firesAt(thresholds, seed, first, 0));
        if (any != 0) break;
        run.seed = jumpSeed(hour, run.seed);
    }
    if (run.hours < limit) carryFiredWords(thresholds, run, checkWord);
    return run;
}

// The lanes after `lane` of an hour of `vectors` vectors (at most two words)
// that fire with the given shift. Every vector is checked: a loop from the
// lane's own vector would end at a branch that is seldom foreseen.
template <int vectors>
ADEQUACY_AVX512 LaneWords checkAfter(const LaneThresholds& thresholds, std::uint32_t hourSeed,
                                     int shift, int lane) {
    static_assert(vectors * width <= 64 * carriedWords);
    const __m512i seed = _mm512_set1_epi32(static_cast<int>(hourSeed));
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    for (int vector = 0; vector < vectors; ++vector) {
        const int first = vector * width;
        const std::uint64_t fired = firesAt(thresholds, seed, first, shift);
        if (first < 64)
            low |= fired << first;
        else
            high |= fired << (first - 64);
    }
    return LaneWords{low, high}.after(lane);
}

// A lane's threshold is written as the whole vector that holds it: the scan
// that follows reads whole vectors, and a whole vector read after a write of
// one lane would wait for that write to reach the cache.
ADEQUACY_AVX512 void setThreshold(LaneThresholds& thresholds, int lane, std::int32_t draws) {
    std::int32_t* const vector = thresholds.draws.data() + lane / width * width;
    const auto bit = static_cast<__mmask16>(1u << (lane % width));
    _mm512_store_si512(vector, _mm512_mask_set1_epi32(_mm512_load_si512(vector), bit, draws));
}

// Hours of a few vectors keep them in registers through each run; larger
// ones read them from memory.
template <int vectors, MaskJoin join>
using InRegisters =
    ChecksOf<scanInRegisters<vectors, join>, checkWord, setThreshold, checkAfter<vectors>>;
using FromMemory = ChecksOf<scanFromMemory, checkWord, setThreshold>;

// A year of such hours keeps its thresholds in registers when they fit
// (avx512_register_year.hpp), and in memory otherwise.
template <int vectors, MaskJoin join>
std::optional<YearRecords> registerOrFastYear(const SimulationInputs& inputs,
                                              const FastYearPlan& plan, SimulationState& state) {
    if (!plan.rawThresholds) return fastYear<InRegisters<vectors, join>>(inputs, plan, state);
    return yearInRegisters<vectors, join>(inputs, plan, state);
}

template <int vectors, MaskJoin join>
HourSteps registerSteps() {
    HourSteps steps = stepsWith<InRegisters<vectors, join>>();
    steps.year = registerOrFastYear<vectors, join>;
    return steps;
}

template <MaskJoin join>
HourSteps stepsOf(int lanes) {
    static_assert(registerVectors == 8);
    switch (lanes / width) {
        case 1:
            return registerSteps<1, join>();
        case 2:
            return registerSteps<2, join>();
        case 3:
            return registerSteps<3, join>();
        case 4:
            return registerSteps<4, join>();
        case 5:
            return registerSteps<5, join>();
        case 6:
            return registerSteps<6, join>();
        case 7:
            return registerSteps<7, join>();
        case 8:
            return registerSteps<8, join>();
        default:
            return stepsWith<FromMemory>();
    }
}

template <MaskJoin join>
QuietRun scanQuietHours(const LaneThresholds& thresholds, std::uint32_t hourSeed, int limit) {
    return stepsOf<join>(thresholds.lanes).scan(thresholds, hourSeed, limit);
}

#undef ADEQUACY_AVX512

}  // namespace

HourChecks avx512HourChecks(MaskJoin join) {
    if (join == MaskJoin::maskChain)
        return HourChecks{checkWord, scanQuietHours<MaskJoin::maskChain>, nextLossHourAvx512,
                          stepsOf<MaskJoin::maskChain>};
    return HourChecks{checkWord, scanQuietHours<MaskJoin::generalRegisters>, nextLossHourAvx512,
                      stepsOf<MaskJoin::generalRegisters>};
}

// The chain of compares leaves no work for the multiplier's port on Intel,
// where moving a mask to a general register takes that port; on AMD the
// chain of compares is the slower, by a third here (EPYC, Zen 5).
HourChecks avx512HourChecks() {
    __builtin_cpu_init();
    return avx512HourChecks(__builtin_cpu_is("intel") ? MaskJoin::maskChain
                                                      : MaskJoin::generalRegisters);
}

bool avx512Available() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f");
}

#else

HourChecks avx512HourChecks(MaskJoin) { return scalarHourChecks(); }
HourChecks avx512HourChecks() { return scalarHourChecks(); }
bool avx512Available() { return false; }

#endif

}  // namespace adequacy
