#pragma once
// The components' next changes, by hour of the year: a list per hour and a
// bit per hour that has one, so that the next hour with a change is found
// a word at a time and every push and take is constant work.

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "model/system_data.hpp"

namespace adequacy::independent {

class HourQueue {
  public:
    explicit HourQueue(std::size_t components)
        : head_(hoursPerYear, none), next_(components, none) {}

    void clear() { bits_.fill(0); }

    void push(int hour, int component) {
        const auto h = static_cast<std::size_t>(hour);
        const std::uint64_t bit = std::uint64_t{1} << (h % 64);
        if (!(bits_[h / 64] & bit)) {
            bits_[h / 64] |= bit;
            head_[h] = none;
        }
        next_[static_cast<std::size_t>(component)] = head_[h];
        head_[h] = component;
    }

    // The first hour from `from` on with a change; hoursPerYear if none.
    int nextHour(int from) const {
        auto word = static_cast<std::size_t>(from) / 64;
        if (word >= bits_.size()) return hoursPerYear;
        std::uint64_t bits =
            bits_[word] & (~std::uint64_t{0} << (static_cast<unsigned>(from) % 64));
        while (bits == 0) {
            if (++word == bits_.size()) return hoursPerYear;
            bits = bits_[word];
        }
        return static_cast<int>(word * 64) + std::countr_zero(bits);
    }

    // Takes the hour's list: its first component, then `after` each one.
    int take(int hour) {
        const auto h = static_cast<std::size_t>(hour);
        bits_[h / 64] &= ~(std::uint64_t{1} << (h % 64));
        return head_[h];
    }
    int after(int component) const { return next_[static_cast<std::size_t>(component)]; }

    static constexpr int none = -1;

  private:
    std::array<std::uint64_t, (hoursPerYear + 63) / 64> bits_{};
    std::vector<int> head_;
    std::vector<int> next_;
};

}  // namespace adequacy::independent
