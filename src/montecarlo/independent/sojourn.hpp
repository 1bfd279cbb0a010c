#pragma once
// How long a component stays in its state. An hourly chain that leaves the
// state with probability p at each hour's step stays for a geometric number
// of steps: the first step that leaves is step k with probability
// (1 - p)^(k - 1) p. Drawing that number once replaces k hourly draws.

#include <cmath>
#include <limits>

namespace adequacy::independent {

// Beyond any year: a state that is never left.
inline constexpr int neverLeft = std::numeric_limits<int>::max();

// 1 / ln(1 - p), kept per component so that a draw costs one logarithm;
// 0 for a state left at the first step, -0 for one never left.
inline double sojournScale(double p) {
    if (!(p > 0.0)) return -0.0;
    if (p >= 1.0) return 0.0;
    return 1.0 / std::log1p(-p);
}

// The step (1, 2, ...) at which the state is left, for u uniform on (0, 1].
inline int stepsUntilLeft(double scale, double u) {
    if (scale == 0.0) return std::signbit(scale) ? neverLeft : 1;
    const double steps = std::floor(std::log(u) * scale);
    return steps >= static_cast<double>(neverLeft - 1) ? neverLeft : 1 + static_cast<int>(steps);
}

}  // namespace adequacy::independent
