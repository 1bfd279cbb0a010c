#pragma once
// The annual indices of a direct solution and their sums over the hours of
// the year, taken in chronological order.

#include <span>

#include "model/loads.hpp"

namespace adequacy {

inline bool isPeakHour(const DailyPeakHours& peakHours, int day, int hour) {
    return peakHours[static_cast<std::size_t>(day - 1)] == hour;
}

struct AnnualIndices {
    double lolh = 0.0;
    double lole = 0.0;
    double allr = 0.0;
    double alolp = 0.0;  // ~ALOLP
    double mwhEue = 0.0;
    double mwhTotal = 0.0;
    double puEueppm = 0.0;
};

struct IndexSums {
    AnnualIndices indices;       // LOLH, LOLE, MWHEUE and MWHTOTAL so far
    double noLossProduct = 1.0;  // over the days: 1 - the LOLP of the peak hour
};

// The day's peak hour adds the day's term of LOLE and ALLR.
inline void record(IndexSums& sums, bool peakHour, double lolp, float load) {
    if (peakHour) {
        sums.indices.lole += lolp;
        sums.noLossProduct *= 1.0 - lolp;
    }
    sums.indices.lolh += lolp;
    sums.indices.mwhTotal += load;
}

// The days a solution takes: every day, or those of one set of units in
// service (the others being solved against that set's tables).
struct DayFilter {
    std::span<const int> setOfDay;  // empty: every day
    int set = 0;
    bool takes(int day) const {
        return setOfDay.empty() || setOfDay[static_cast<std::size_t>(day - 1)] == set;
    }
};

inline AnnualIndices finish(const IndexSums& sums, float mttrFactor) {
    AnnualIndices result = sums.indices;
    result.allr = 1.0 - sums.noLossProduct;
    result.alolp = result.lole / mttrFactor;
    result.puEueppm = result.mwhEue / result.mwhTotal * 1000000.0;
    return result;
}

}  // namespace adequacy
