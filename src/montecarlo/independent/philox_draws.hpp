#pragma once
// The independent engine's random numbers: Philox4x32-10, a counter-based
// generator, keyed by the seed. A draw is addressed by (year, component,
// draw number), so every year and every unit or tie has a stream of its
// own: no two share a number, a year can be simulated anywhere in any order,
// and adding a unit leaves the other components' streams as they were.

#include <Random123/philox.h>

#include <cstdint>

namespace adequacy::independent {

// Tells this engine's streams apart from any other use of the same seed.
inline constexpr std::uint32_t streamTag = 0x1ade9u;

// The tie's component number: fixed, so that units added to a system do not
// shift it.
inline constexpr std::uint32_t tieComponent = 0xffffffffu;

class ComponentDraws {
  public:
    ComponentDraws(std::uint32_t seed, std::uint64_t year, std::uint32_t component)
        : key_{{seed, streamTag}},
          counter_{{0u, component, static_cast<std::uint32_t>(year),
                    static_cast<std::uint32_t>(year >> 32)}} {}

    // Uniform on (0, 1] in steps of 2^-32, one word of a Philox block: fine
    // enough for every probability a chain holds (a sojourn drawn from it is
    // exact for hourly probabilities down to 10^-9 and years up to 10^5
    // hours).
    double uniform() {
        if (used_ == 4) refill();
        return (static_cast<double>(block_.v[used_++]) + 1.0) * 0x1p-32;
    }

  private:
    void refill() {
        block_ = r123::Philox4x32()(counter_, key_);
        counter_.v[0] += 1;
        used_ = 0;
    }

    r123::Philox4x32::key_type key_;
    r123::Philox4x32::ctr_type counter_;
    r123::Philox4x32::ctr_type block_{};
    int used_ = 4;
};

}  // namespace adequacy::independent
