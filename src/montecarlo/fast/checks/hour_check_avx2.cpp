#include "montecarlo/fast/hour_lanes.hpp"

#if defined(__x86_64__)
#include <immintrin.h>

#include "montecarlo/fast/fast_year.hpp"
#include "montecarlo/fast/lcg_jump.hpp"
#include "montecarlo/loss_of_load.hpp"
#include "montecarlo/random.hpp"
#include "montecarlo/tie.hpp"
#include "montecarlo/units.hpp"
#include "montecarlo/year.hpp"

#define ADEQUACY_CHECKS_TARGET __attribute__((target("avx2")))
#include "montecarlo/fast/year_steps.hpp"
#endif

namespace adequacy {

#if defined(__x86_64__)

namespace {

constexpr int width = 8;

#define ADEQUACY_AVX2 __attribute__((target("avx2")))

ADEQUACY_AVX2 __m256i load(const void* from) {
    return _mm256_loadu_si256(static_cast<const __m256i*>(from));
}

// Lanes that fire among the eight from `first`: each lane's seed from the
// hour's seed by its jump, its 24-bit draw, and a signed comparison with its
// threshold (both lie in 0..2^24, so the sign never interferes).
ADEQUACY_AVX2 __m256i fires(const LaneThresholds& thresholds, __m256i seed, int first, int shift) {
    const __m256i a = load(jumpTable.multiplier.data() + first + 1 + shift);
    const __m256i c = load(jumpTable.increment.data() + first + 1 + shift);
    const __m256i x = _mm256_add_epi32(_mm256_mullo_epi32(a, seed), c);
    return _mm256_cmpgt_epi32(load(thresholds.draws.data() + first),
                              _mm256_srli_epi32(x, ranDiscardedBits));
}

ADEQUACY_AVX2 std::uint64_t checkWord(const LaneThresholds& thresholds, std::uint32_t hourSeed,
                                      int shift, int word) {
    const __m256i seed = _mm256_set1_epi32(static_cast<int>(hourSeed));
    const int first = 64 * word;
    const int last = first + 64 < thresholds.lanes ? first + 64 : thresholds.lanes;
    std::uint64_t fired = 0;
    for (int from = first; from < last; from += width) {
        const __m256i fire = fires(thresholds, seed, from, shift);
        const auto lanes = static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(fire)));
        fired |= std::uint64_t{lanes} << (from - first);
    }
    return fired;
}

ADEQUACY_AVX2 QuietRun scanQuietHours(const LaneThresholds& thresholds, std::uint32_t hourSeed,
                                      int limit) {
    const LcgJump hour = quietHourJump(thresholds);
    QuietRun run{0, hourSeed, {}};
    for (; run.hours < limit; ++run.hours) {
        const __m256i seed = _mm256_set1_epi32(static_cast<int>(run.seed));
        __m256i any = _mm256_setzero_si256();
        for (int first = 0; first < thresholds.lanes; first += width) {
            any = _mm256_or_si256(any, fires(thresholds, seed, first, 0));
        }
        if (!_mm256_testz_si256(any, any)) break;
        run.seed = jumpSeed(hour, run.seed);
    }
    if (run.hours < limit) carryFiredWords(thresholds, run, checkWord);
    return run;
}

using Avx2Checks = ChecksOf<scanQuietHours, checkWord>;

#undef ADEQUACY_AVX2

HourSteps stepsOf(int) { return stepsWith<Avx2Checks>(); }

}  // namespace

HourChecks avx2HourChecks() {
    return HourChecks{checkWord, scanQuietHours, nextLossHourAvx2, stepsOf};
}

bool avx2Available() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

#else

HourChecks avx2HourChecks() { return scalarHourChecks(); }
bool avx2Available() { return false; }

#endif

}  // namespace adequacy
