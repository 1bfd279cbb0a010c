#pragma once
// The lanes of an hour as the AVX-512 checks hold them, sixteen to a vector:
// how a vector of lanes is drawn and compared with its thresholds, and an
// hour of a few vectors kept in registers. Included by the AVX-512 checks
// only, whose instruction set every function here is compiled for.

#include <immintrin.h>

#include <cstdint>

#include "montecarlo/fast/draw_threshold.hpp"
#include "montecarlo/fast/hour_lanes.hpp"
#include "montecarlo/fast/lcg_jump.hpp"
#include "montecarlo/random.hpp"

#define ADEQUACY_AVX512 __attribute__((target("avx512f")))

namespace adequacy {
namespace {

constexpr int width = 16;
static_assert(laneVectorWidth % width == 0);

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

// The quiet scan compares the raw seed of a lane with its threshold shifted
// left by the discarded bits, unsigned: k < T for the top 24 bits k of x is
// x < 256 T, without a shift per draw. The one threshold that 32 bits cannot
// hold, 2^24 (fires always), is looked for before the scan.
ADEQUACY_AVX512 __m512i rawThreshold(__m512i draws) {
    return _mm512_maskz_slli_epi32(0xFFFF, draws, ranDiscardedBits);
}

ADEQUACY_AVX512 __mmask16 firesAlways(__m512i draws) {
    return _mm512_cmpeq_epi32_mask(draws, _mm512_set1_epi32(drawCount));
}

// The lanes among the sixteen of a vector that fire, as bits.
ADEQUACY_AVX512 __mmask16 firesRaw(__m512i a, __m512i c, __m512i raw, __m512i seed) {
    return _mm512_cmplt_epu32_mask(_mm512_add_epi32(_mm512_mullo_epi32(a, seed), c), raw);
}

// The lanes whose raw draw x is at least the raw threshold, and (below) the
// same kept within `quiet`. GCC gives a compare's result the one mask
// register that cannot mask and copies it to another for the next compare,
// an instruction on the multiplier's port; written out, the chain has none.
ADEQUACY_AVX512 inline __mmask16 quietLanes(__m512i x, __m512i raw) {
    return _mm512_cmpge_epu32_mask(x, raw);
}

ADEQUACY_AVX512 inline void stillQuiet(__mmask16& quiet, __m512i x, __m512i raw) {
#if defined(__GNUC__) && !defined(__clang__)
    __asm__("vpcmpnltud %[raw], %[x], %[quiet]%{%[quiet]%}"
            : [quiet] "+Yk"(quiet)
            : [x] "v"(x), [raw] "v"(raw));
#else
    quiet = _mm512_mask_cmpge_epu32_mask(quiet, x, raw);
#endif
}

// The jumps and raw thresholds of an hour of a few vectors, in registers.
template <int vectors>
struct HourInRegisters {
    __m512i a[vectors];
    __m512i c[vectors];
    __m512i raw[vectors];
    __mmask16 always[vectors];

    ADEQUACY_AVX512 __m512i draws(int vector, __m512i seed) const {
        return _mm512_add_epi32(_mm512_mullo_epi32(a[vector], seed), c[vector]);
    }

    // Whether no lane fires in the hour from `hourSeed`, the masks joined by
    // a chain of compares (MaskJoin::maskChain). The raw draws are kept for
    // firedIn: an hour that ends the run need not draw again.
    ADEQUACY_AVX512 bool quiet(std::uint32_t hourSeed, __m512i (&x)[vectors]) const {
        const __m512i seed = _mm512_set1_epi32(static_cast<int>(hourSeed));
        for (int vector = 0; vector < vectors; ++vector) x[vector] = draws(vector, seed);
        __mmask16 quiet = quietLanes(x[0], raw[0]);
        for (int vector = 1; vector < vectors; ++vector) stillQuiet(quiet, x[vector], raw[vector]);
        return _kortestc_mask16_u8(quiet, quiet) != 0;
    }

    // The lanes of each vector that fire with the raw draws x, as bits.
    ADEQUACY_AVX512 void firedIn(const __m512i (&x)[vectors], unsigned (&bits)[vectors]) const {
        for (int vector = 0; vector < vectors; ++vector)
            bits[vector] = _cvtmask16_u32(_mm512_cmplt_epu32_mask(x[vector], raw[vector]));
    }

    // The lanes of each vector that fire in the hour from `hourSeed`, as
    // bits, and whether any does, the masks joined in a general register
    // (MaskJoin::generalRegisters).
    ADEQUACY_AVX512 bool fired(std::uint32_t hourSeed, unsigned (&bits)[vectors]) const {
        const __m512i seed = _mm512_set1_epi32(static_cast<int>(hourSeed));
        unsigned any = 0;
        for (int vector = 0; vector < vectors; ++vector) {
            bits[vector] = _cvtmask16_u32(firesRaw(a[vector], c[vector], raw[vector], seed));
            any |= bits[vector];
        }
        return any != 0;
    }

    // The hour that ends a run is the one just checked: its bits are at hand.
    // The words are gathered apart from the run, each written once.
    ADEQUACY_AVX512 void carry(const unsigned (&bits)[vectors], QuietRun& run) const {
        std::uint64_t words[carriedWords] = {0, 0};
        for (int vector = 0; vector < vectors; ++vector) {
            const int first = vector * width;
            const unsigned lanes = bits[vector] | _cvtmask16_u32(always[vector]);
            words[first / 64] |= std::uint64_t{lanes} << (first % 64);
        }
        run.fired = {words[0], words[1]};
    }
};

// The lanes of words 0 and 1 as one set, from the bits of each vector.
template <int vectors>
ADEQUACY_AVX512 inline LaneWords wordsOf(const unsigned (&bits)[vectors]) {
    std::uint64_t words[carriedWords] = {0, 0};
    for (int vector = 0; vector < vectors; ++vector)
        words[vector / 4] |= std::uint64_t{bits[vector]} << (16 * (vector % 4));
    return {words[0], words[1]};
}

// The lanes of vector `vector` among a set, as its mask.
ADEQUACY_AVX512 inline __mmask16 maskOf(LaneWords lanes, int vector) {
    const std::uint64_t word = vector < 4 ? lanes.low : lanes.high;
    return static_cast<__mmask16>(word >> (16 * (vector % 4)));
}

}  // namespace
}  // namespace adequacy
