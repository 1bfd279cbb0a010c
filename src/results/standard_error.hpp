#pragma once
// Standard errors of the simulated indices. The scratch records hold the
// running estimate x_m after each year m, so the value of year m itself is
// y_m = m x_m - (m - 1) x_(m-1): its loss-of-load hours, days, unserved MWh,
// or 1 for a year with a loss-of-load day. The standard error of the
// estimate is the sample standard deviation of the y_m over sqrt(n).

#include <cmath>

namespace adequacy::results {

// The values of the years so far, summed as they come (Welford's way, which
// keeps the sum of squares accurate however long the run).
struct YearValues {
    int years = 0;
    double lastEstimate = 0.0;
    double mean = 0.0;
    double sumOfSquares = 0.0;  // of the deviations from the mean
};

// Takes the running estimate after the next year.
inline void addRunningEstimate(YearValues& values, double estimate) {
    const double m = values.years + 1;
    const double value = m * estimate - (m - 1.0) * values.lastEstimate;
    values.years += 1;
    values.lastEstimate = estimate;
    const double deviation = value - values.mean;
    values.mean += deviation / m;
    values.sumOfSquares += deviation * (value - values.mean);
}

// NaN below two years, where a spread cannot be formed.
inline double standardError(const YearValues& values) {
    if (values.years < 2) return std::nan("");
    const double n = values.years;
    return std::sqrt(values.sumOfSquares / (n - 1.0) / n);
}

// 1.96 standard errors either side: the normal 95% interval, which the
// central limit theorem makes fair for the thousands of years of any run.
inline constexpr double z95 = 1.96;

struct Interval {
    double low;
    double high;
};

inline Interval confidence95(double estimate, double standardError) {
    return {estimate - z95 * standardError, estimate + z95 * standardError};
}

}  // namespace adequacy::results
