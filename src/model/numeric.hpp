#pragma once
// Numeric conventions. Intermediates are formed in double precision and
// rounded to single precision only where a value is stored as such; reals
// convert to integers by truncation toward zero.

#include <cfloat>
#include <cmath>
#include <limits>

static_assert(FLT_EVAL_METHOD == 0, "float and double expressions must not carry excess precision");

namespace adequacy {

// Truncation toward zero, clamped to the 32-bit range (NaN gives 0), so that
// no conversion is undefined whatever the data.
inline int truncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

}  // namespace adequacy
