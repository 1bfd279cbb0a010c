#pragma once
// SD%: how far the running estimate has wandered over the simulated years,
// as the root-mean-square relative deviation, in percent, of the estimates
// after each year from the current one.

#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <span>

#include "montecarlo/reporting/scratch.hpp"

namespace adequacy {

// An SD% that cannot be formed (a zero estimate has no relative deviation).
// It does not fit any field, so it shows as asterisks.
inline constexpr int unknownSdPercent = std::numeric_limits<int>::max();

// Tie-limited rates below this are taken as zero: they add nothing and show
// an SD% of 0.
inline constexpr float negligibleTieRate = 1.0e-20f;

double squaredRelativeDeviation(double value, double estimate);

// SD% from the sum of squared relative deviations over n years.
int sdPercent(double sumOfSquares, int n);

// Reads the next n records of the file and forms one SD% per value of the
// record. Estimates whose magnitude is below `negligible` add nothing; the
// whole-system and area-1 blocks pass 0, so that a zero estimate is unknown.
// `onRecord` sees every record as it is read.
template <std::size_t N, typename OnRecord>
std::array<int, N> sdPercents(ScratchFile& file, int n, const std::array<double, N>& estimates,
                              float negligible, OnRecord&& onRecord) {
    std::array<double, N> record{};
    std::array<double, N> sums{};
    for (int year = 1; year <= n; ++year) {
        readRecord(file, record);
        onRecord(std::span<const double>(record));
        for (std::size_t i = 0; i < N; ++i) {
            if (std::fabs(estimates[i]) < negligible) continue;
            sums[i] += squaredRelativeDeviation(record[i], estimates[i]);
        }
    }
    std::array<int, N> result{};
    for (std::size_t i = 0; i < N; ++i) result[i] = sdPercent(sums[i], n);
    return result;
}

template <std::size_t N>
std::array<int, N> sdPercents(ScratchFile& file, int n, const std::array<double, N>& estimates,
                              float negligible) {
    return sdPercents(file, n, estimates, negligible, [](std::span<const double>) {});
}

}  // namespace adequacy
