#pragma once
// Standard errors of the simulated indices. The scratch records hold the
// running estimate x_m after each year m, so the value of year m itself is
// y_m = m x_m - (m - 1) x_(m-1): its loss-of-load hours, days, unserved MWh,
// or 1 for a year with a loss-of-load day. The standard error of the
// estimate is the sample standard deviation of the y_m over sqrt(n).

#include <cmath>

namespace adequacy::results {

// A mean and the sum of squared deviations from it, kept as values come
// (Welford's way, which keeps the sum accurate however many values).
struct RunningSpread {
    int count = 0;
    double mean = 0.0;
    double sumOfSquares = 0.0;
};

inline void addValue(RunningSpread& spread, double value) {
    spread.count += 1;
    const double deviation = value - spread.mean;
    spread.mean += deviation / spread.count;
    spread.sumOfSquares += deviation * (value - spread.mean);
}

// The values of the years so far. Years that a run links (units out for
// repair across New Year) are also taken in batches of `batchYears`
// consecutive years, whose means are nearly independent when a batch is long
// against the link; the standard error then comes from the batch means.
struct YearValues {
    int years = 0;
    double lastEstimate = 0.0;
    double mean = 0.0;
    double sumOfSquares = 0.0;  // of the deviations from the mean
    int batchYears = 1;         // 1: the years themselves
    double batchSum = 0.0;      // of the batch under way
    RunningSpread batches;
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
    if (values.batchYears <= 1) return;
    values.batchSum += value;
    if (values.years % values.batchYears != 0) return;
    addValue(values.batches, values.batchSum / values.batchYears);
    values.batchSum = 0.0;
}

// NaN below two years (two whole batches), where a spread cannot be formed.
inline double standardError(const YearValues& values) {
    if (values.batchYears > 1) {
        const double k = values.batches.count;
        if (k < 2.0) return std::nan("");
        return std::sqrt(values.batches.sumOfSquares / (k - 1.0) / k);
    }
    if (values.years < 2) return std::nan("");
    const double n = values.years;
    return std::sqrt(values.sumOfSquares / (n - 1.0) / n);
}

// Batches for the classic simulation's linked years: ten times the longest
// repair time, in whole years, so that a unit's outage rarely spans two
// batches; 1 (the years themselves) while that is under a year.
inline int batchYearsFor(double longestRepairDays) {
    const double years = std::ceil(10.0 * longestRepairDays / 365.0);
    if (!(years > 1.0)) return 1;
    return years >= 1.0e6 ? 1000000 : static_cast<int>(years);
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
