#pragma once
// Seeds chosen so that the generator's next draw is a given number, for
// steering unit and tie steps onto either side of a threshold.

#include <cstdint>

#include "montecarlo/random.hpp"

namespace adequacy::testing {

// The seed whose successor is `target`: 69069 is odd, so it has an inverse
// modulo 2^32 (found by Newton iteration, each step doubling the good bits).
inline std::uint32_t predecessor(std::uint32_t target) {
    std::uint32_t inverse = 1;
    for (int i = 0; i < 5; ++i) inverse *= 2u - ranMultiplier * inverse;
    return inverse * (target - ranIncrement);
}

// The seed from which the next draw is `draw`, a multiple of 2^-24 in [0, 1).
inline std::uint32_t seedBeforeDraw(float draw) {
    const auto top = static_cast<std::uint32_t>(draw * 0x1p24f);
    return predecessor(top << ranDiscardedBits);
}

// The seed after `count` draws from `seed`.
inline std::uint32_t afterDraws(std::uint32_t seed, int count) {
    for (int i = 0; i < count; ++i) ran(seed);
    return seed;
}

}  // namespace adequacy::testing
