#pragma once
// What a report's read-back of the scratch records yields beyond the SD%:
// the values of the single years, summed for the standard errors, and the
// estimates with their standard errors at the convergence points on the way.

#include <array>
#include <span>

#include "direct/atc_table.hpp"
#include "results/results.hpp"
#include "results/standard_error.hpp"

namespace adequacy::results {

inline constexpr int maxConvergencePoints = 100;
inline constexpr int firstConvergenceYear = 1000;

// Year counts evenly spread on a log scale from 1000 (or n, if smaller) to
// n, n included, without repeats.
struct ConvergenceSchedule {
    std::array<int, maxConvergencePoints> years{};
    int count = 0;
};

ConvergenceSchedule convergenceSchedule(int n);

// Record fields of the whole-system and area-1 files.
inline constexpr int lolhField = 0;
inline constexpr int mwhEueField = 3;

struct AreaReadBack {
    std::array<YearValues, simulatedIndices> values{};
    int nextPoint = 0;
};

struct ReadBack {
    int batchYears = 1;  // of every standard error, see YearValues
    ConvergenceSchedule schedule;
    AreaReadBack system;
    AreaReadBack area1;
    std::array<YearValues, atcRows> tie{};
    std::array<ConvergencePoint, maxConvergencePoints> points{};
};

// Readies the sums for a read-back of n records per file.
void startReadBack(ReadBack& readBack, int n);

// One record of each file, in the order of the years.
void readSystemRecord(ReadBack& readBack, std::span<const double> record);
void readArea1Record(ReadBack& readBack, std::span<const double> record);
void readTieRecord(ReadBack& readBack, std::span<const double> record);

}  // namespace adequacy::results
