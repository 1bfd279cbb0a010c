#pragma once
// A draw r = k 2^-24 (k the top 24 bits of the seed) compared with a single
// precision probability p is a comparison of integers: r <= p holds exactly
// for k < T with T = floor(p 2^24) + 1, clamped to 0..2^24. A float scaled
// by 2^24 is exact in double precision, so the floor is exact too.

#include <cstdint>

#include "montecarlo/random.hpp"

namespace adequacy {

// k < drawCount fires for every k: the probability is 1 or more.
inline constexpr std::int32_t drawCount = std::int32_t{1} << 24;

// The number of draws k for which happens(k 2^-24, p). NaN, negative and
// zero probabilities take none (not even k = 0), infinity takes all.
constexpr std::int32_t drawsAtOrBelow(float p) {
    if (!(p > 0.0f)) return 0;
    if (p >= 1.0f) return drawCount;
    return static_cast<std::int32_t>(static_cast<double>(p) * 0x1p24) + 1;
}

// The number of draws k for which fails(k 2^-24, p): the same as
// drawsAtOrBelow, except that a NaN p takes every draw.
constexpr std::int32_t drawsNotAbove(float p) {
    if (p != p) return drawCount;
    return drawsAtOrBelow(p);
}

// Whether the draw that leaves `seed` behind falls below the draw threshold.
constexpr bool drawFires(std::uint32_t seed, std::int32_t threshold) {
    return static_cast<std::int32_t>(seed >> ranDiscardedBits) < threshold;
}

}  // namespace adequacy
