#pragma once
// One bit per lane of an hour (see hour_lanes.hpp): lanes 0..63 in `low`,
// lanes 64..127 in `high`.

#include <bit>
#include <cstdint>

namespace adequacy {

struct LaneMask {
    std::uint64_t low;
    std::uint64_t high;

    constexpr bool none() const { return (low | high) == 0; }

    // The lowest lane set; only for a mask that is not none().
    constexpr int lowest() const {
        return low != 0 ? std::countr_zero(low) : 64 + std::countr_zero(high);
    }

    constexpr void set(int lane) {
        if (lane < 64) {
            low |= std::uint64_t{1} << lane;
        } else {
            high |= std::uint64_t{1} << (lane - 64);
        }
    }

    constexpr void clear(int lane) {
        if (lane < 64) {
            low &= ~(std::uint64_t{1} << lane);
        } else {
            high &= ~(std::uint64_t{1} << (lane - 64));
        }
    }

    // The lanes after `lane` only (0 <= lane < 128).
    constexpr LaneMask after(int lane) const {
        const std::uint64_t all = ~std::uint64_t{0};
        if (lane < 63) return {low & (all << (lane + 1)), high};
        if (lane == 63) return {0, high};
        if (lane == 127) return {0, 0};
        return {0, high & (all << (lane - 63))};
    }

    constexpr bool operator==(const LaneMask&) const = default;
};

}  // namespace adequacy
