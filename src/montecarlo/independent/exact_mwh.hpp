#pragma once
// Unserved energy summed so that the sum is the same in any order and any
// grouping: each hour's shortfall in whole units of 2^-16 MWh, the sums in
// 128-bit integers. So a run split over machines and put together gives the
// very figures of one run over all its years. A shortfall is a difference of
// two single-precision MW values; the unit keeps those down to 2^-9 MW
// exactly, and rounds finer fractions by less than 0.000008 MWh an hour.

#include <cmath>
#include <cstdint>
#include <string>

namespace adequacy::independent {

__extension__ typedef __int128 ExactUnits;
__extension__ typedef unsigned __int128 ExactMagnitude;

inline constexpr double unitsPerMwh = 65536.0;

// One hour's shortfall, or a year's: a year of 10,000,000 MW short fits.
inline std::int64_t toUnits(double mwh) { return std::llround(mwh * unitsPerMwh); }

inline double toMwh(ExactUnits units) { return static_cast<double>(units) / unitsPerMwh; }

inline std::string toDecimal(ExactUnits units) {
    if (units == 0) return "0";
    const bool negative = units < 0;
    std::string digits;
    for (; units != 0; units /= 10) {
        const int digit = static_cast<int>(units % 10);
        digits.insert(digits.begin(), static_cast<char>('0' + (negative ? -digit : digit)));
    }
    return negative ? "-" + digits : digits;
}

// False for text that is not a decimal integer within 128 bits.
inline bool fromDecimal(const std::string& text, ExactUnits& units) {
    std::size_t i = text.size() > 1 && text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    ExactUnits value = 0;
    constexpr auto limit = static_cast<ExactUnits>((~ExactMagnitude{0} >> 1) / 10 - 9);
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9' || value > limit) return false;
        value = value * 10 + (text[i] - '0');
    }
    units = text[0] == '-' ? -value : value;
    return true;
}

}  // namespace adequacy::independent
