#pragma once
// Jumping ahead in the stream of draws. n steps of the generator compose to a
// single affine map, seed_n = A_n seed + C_n modulo 2^32, so the seed of any
// position within an hour follows from the hour's first seed without
// stepping through the positions before it.

#include <array>
#include <cstdint>

#include "montecarlo/random.hpp"

namespace adequacy {

struct LcgJump {
    std::uint32_t multiplier;  // A_n = 69069^n
    std::uint32_t increment;   // C_n = 69069^(n-1) + ... + 69069 + 1
};

// The map of n steps; n = 0 is the identity.
constexpr LcgJump lcgJump(int steps) {
    LcgJump jump{1u, 0u};
    for (int step = 0; step < steps; ++step) {
        jump.multiplier = ranMultiplier * jump.multiplier;
        jump.increment = ranMultiplier * jump.increment + ranIncrement;
    }
    return jump;
}

constexpr std::uint32_t jumpSeed(LcgJump jump, std::uint32_t seed) {
    return jump.multiplier * seed + jump.increment;
}

// Enough positions for the draws of the largest hour the fast loop lays out
// (see hour_lanes.hpp), shifted by up to as many second draws, with room for
// a whole vector beyond the last lane.
inline constexpr int jumpTableSize = 8256;

struct JumpTable {
    alignas(64) std::array<std::uint32_t, jumpTableSize> multiplier;
    alignas(64) std::array<std::uint32_t, jumpTableSize> increment;
};

constexpr JumpTable makeJumpTable() {
    JumpTable table{};
    LcgJump jump{1u, 0u};
    for (int steps = 0; steps < jumpTableSize; ++steps) {
        table.multiplier[steps] = jump.multiplier;
        table.increment[steps] = jump.increment;
        jump.multiplier = ranMultiplier * jump.multiplier;
        jump.increment = ranMultiplier * jump.increment + ranIncrement;
    }
    return table;
}

// Entry n jumps n steps ahead.
inline constexpr JumpTable jumpTable = makeJumpTable();

// The seed after `steps` draws (steps < jumpTableSize).
constexpr std::uint32_t seedAfter(std::uint32_t seed, int steps) {
    return jumpTable.multiplier[steps] * seed + jumpTable.increment[steps];
}

}  // namespace adequacy
