#pragma once
// Uniform random numbers for the simulation: a linear congruential generator,
// LCG 69069 (multiplicative congruential step with multiplier 69069, plus an
// increment of 1, modulo 2^32). The seed is the generator's whole state and is
// passed explicitly, so two implementations of the year loop can run from the
// same seed and be compared draw for draw.

#include <cstdint>

namespace adequacy {

inline constexpr std::uint32_t ranMultiplier = 69069u;
inline constexpr std::uint32_t ranIncrement = 1u;
inline constexpr std::uint32_t ranInitialSeed = 3u;
// Only the top 24 bits are used: the low bits of a power-of-two LCG have short
// periods, and 24 bits fit a float exactly, so every comparison with a stored
// single-precision probability is exact.
inline constexpr int ranDiscardedBits = 8;
inline constexpr float ranScale = 0x1p-24f;

// Advances the seed (unsigned wrap-around is the modulo 2^32) and returns a
// number in [0, 1) with 24 significant bits.
constexpr float ran(std::uint32_t& seed) {
    seed = ranMultiplier * seed + ranIncrement;
    return static_cast<float>(seed >> ranDiscardedBits) * ranScale;
}

// Whether the draw r makes an event of probability p happen: r <= p. A draw
// can be exactly 0, yet an event of probability 0 never happens.
constexpr bool happens(float r, float p) { return r <= p && p != 0.0f; }

// Whether an up unit with failure probability p fails on the draw r: unless
// r > p, so that a probability that is not a number fails it every hour; as
// for any event, a probability of 0 never does.
constexpr bool fails(float r, float p) { return !(r > p) && p != 0.0f; }

}  // namespace adequacy
