#include "montecarlo/hour_lanes.hpp"

#if defined(__x86_64__)
#include <immintrin.h>

#include "montecarlo/lcg_jump.hpp"
#include "montecarlo/random.hpp"
#endif

namespace adequacy {

#if defined(__x86_64__)

namespace {

constexpr int width = 16;
static_assert(laneVectorWidth % width == 0);

// Hours of up to this many vectors keep their jumps and thresholds in
// registers while they scan (three registers a vector).
constexpr int registerVectors = 8;

#define ADEQUACY_AVX512 __attribute__((target("avx512f")))

// Lanes that fire among the sixteen from `first`, as the AVX2 check finds
// them; the comparison yields the lane bits directly.
ADEQUACY_AVX512 __mmask16 fires(__m512i a, __m512i c, __m512i threshold, __m512i seed) {
    const __m512i x = _mm512_add_epi32(_mm512_mullo_epi32(a, seed), c);
    // The masked shift with every lane selected is the plain shift; the
    // unmasked intrinsic trips an uninitialised-value warning in GCC 12.
    const __m512i draw = _mm512_maskz_srli_epi32(0xFFFF, x, ranDiscardedBits);
    return _mm512_cmpgt_epi32_mask(threshold, draw);
}

ADEQUACY_AVX512 __mmask16 firesAt(const LaneThresholds& thresholds, __m512i seed, int first,
                                  int shift) {
    return fires(_mm512_loadu_si512(jumpTable.multiplier.data() + first + 1 + shift),
                 _mm512_loadu_si512(jumpTable.increment.data() + first + 1 + shift),
                 _mm512_loadu_si512(thresholds.draws.data() + first), seed);
}

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

// The jump of a whole hour without events.
LcgJump quietHourJump(const LaneThresholds& thresholds) {
    return LcgJump{jumpTable.multiplier[thresholds.hourDraws()],
                   jumpTable.increment[thresholds.hourDraws()]};
}

// The jumps and thresholds stay in registers for the whole run.
template <int vectors>
ADEQUACY_AVX512 QuietRun scanInRegisters(const LaneThresholds& thresholds, std::uint32_t hourSeed,
                                         int limit) {
    __m512i a[vectors];
    __m512i c[vectors];
    __m512i t[vectors];
    for (int vector = 0; vector < vectors; ++vector) {
        const int first = vector * width;
        a[vector] = _mm512_loadu_si512(jumpTable.multiplier.data() + first + 1);
        c[vector] = _mm512_loadu_si512(jumpTable.increment.data() + first + 1);
        t[vector] = _mm512_loadu_si512(thresholds.draws.data() + first);
    }
    const LcgJump hour = quietHourJump(thresholds);
    QuietRun run{0, hourSeed, {}};
    for (; run.hours < limit; ++run.hours) {
        const __m512i seed = _mm512_set1_epi32(static_cast<int>(run.seed));
        std::uint64_t bits[2] = {0, 0};
        for (int vector = 0; vector < vectors; ++vector) {
            const int first = vector * width;
            const __mmask16 fire = fires(a[vector], c[vector], t[vector], seed);
            bits[first / 64] |= std::uint64_t{fire} << (first % 64);
        }
        if ((bits[0] | bits[1]) != 0) {
            run.fired = {bits[0], bits[1]};
            break;
        }
        run.seed = jumpSeed(hour, run.seed);
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

QuietScan scanOf(int lanes) {
    static_assert(registerVectors == 8);
    switch (lanes / width) {
        case 1:
            return scanInRegisters<1>;
        case 2:
            return scanInRegisters<2>;
        case 3:
            return scanInRegisters<3>;
        case 4:
            return scanInRegisters<4>;
        case 5:
            return scanInRegisters<5>;
        case 6:
            return scanInRegisters<6>;
        case 7:
            return scanInRegisters<7>;
        case 8:
            return scanInRegisters<8>;
        default:
            return scanFromMemory;
    }
}

QuietRun scanQuietHours(const LaneThresholds& thresholds, std::uint32_t hourSeed, int limit) {
    return scanOf(thresholds.lanes)(thresholds, hourSeed, limit);
}

#undef ADEQUACY_AVX512

}  // namespace

HourChecks avx512HourChecks() {
    return HourChecks{checkWord, scanQuietHours, nextLossHourAvx512, scanOf};
}

bool avx512Available() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f");
}

#else

HourChecks avx512HourChecks() { return scalarHourChecks(); }
bool avx512Available() { return false; }

#endif

}  // namespace adequacy
