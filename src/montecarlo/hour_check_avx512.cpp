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
constexpr int vectors = hourLanes / width;

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

ADEQUACY_AVX512 LaneMask checkHour(const LaneThresholds& thresholds, std::uint32_t hourSeed,
                                   int shift) {
    const __m512i seed = _mm512_set1_epi32(static_cast<int>(hourSeed));
    std::uint64_t bits[2] = {0, 0};
    for (int vector = 0; vector < vectors; ++vector) {
        const int first = vector * width;
        const __mmask16 fire =
            fires(_mm512_loadu_si512(jumpTable.multiplier.data() + first + 1 + shift),
                  _mm512_loadu_si512(jumpTable.increment.data() + first + 1 + shift),
                  _mm512_load_si512(thresholds.draws.data() + first), seed);
        bits[first / 64] |= std::uint64_t{fire} << (first % 64);
    }
    return LaneMask{bits[0], bits[1]};
}

// The jumps and thresholds stay in registers for the whole run.
ADEQUACY_AVX512 QuietRun scanQuietHours(const LaneThresholds& thresholds, std::uint32_t hourSeed,
                                        int limit) {
    __m512i a[vectors];
    __m512i c[vectors];
    __m512i t[vectors];
    for (int vector = 0; vector < vectors; ++vector) {
        const int first = vector * width;
        a[vector] = _mm512_loadu_si512(jumpTable.multiplier.data() + first + 1);
        c[vector] = _mm512_loadu_si512(jumpTable.increment.data() + first + 1);
        t[vector] = _mm512_load_si512(thresholds.draws.data() + first);
    }
    QuietRun run{0, hourSeed, {0, 0}};
    for (; run.hours < limit; ++run.hours) {
        const __m512i seed = _mm512_set1_epi32(static_cast<int>(run.seed));
        std::uint64_t bits[2] = {0, 0};
        for (int vector = 0; vector < vectors; ++vector) {
            const int first = vector * width;
            const __mmask16 fire = fires(a[vector], c[vector], t[vector], seed);
            bits[first / 64] |= std::uint64_t{fire} << (first % 64);
        }
        if ((bits[0] | bits[1]) != 0) {
            run.fired = LaneMask{bits[0], bits[1]};
            break;
        }
        run.seed = seedAfter(run.seed, hourDraws);
    }
    return run;
}

#undef ADEQUACY_AVX512

}  // namespace

HourChecks avx512HourChecks() { return HourChecks{checkHour, scanQuietHours, nextLossHourAvx512}; }

bool avx512Available() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f");
}

#else

HourChecks avx512HourChecks() { return scalarHourChecks(); }
bool avx512Available() { return false; }

#endif

}  // namespace adequacy
