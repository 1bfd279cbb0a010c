#pragma once
// The help that the supplying area can send over the tie in one hour, one
// two-state assistance per ATC row of the solution's direction.

#include <array>

#include "direct/atc_table.hpp"
#include "direct/outage_table.hpp"

namespace adequacy {

// The highest transfer level visited. The level weight sum of the levels up
// to it still fits a 32-bit integer; only negative supplying loads reach it.
inline constexpr int maxTransferLevel = 65535;

struct HourAssistance {
    std::array<float, atcEnteredRows> level{};        // assistLevel, MW
    std::array<float, atcEnteredRows> probability{};  // assistProbability
    float noAssistProbability = 1.0f;
    int shift = 0;  // assistShift: the largest level

    bool operator==(const HourAssistance&) const = default;
};

// What one solution's assistance depends on, apart from the hour's load.
struct AssistanceSource {
    const AtcTable& atc;
    bool importRows;  // rows with positive MW (area 1 receives), else negative
    const OutageTable& supplyingTable;
    int supplyingCapacity;
    float receivingPeak;
};

// Per-level running sums, shared by the rows: a row's sums are those of its
// own last level.
struct LevelSums {
    std::array<float, maxTransferLevel + 1> availability;  // a, by level
    std::array<int, maxTransferLevel + 1> weight;          // w, by level
};

// `supplyingLoad` is the supplying area's load of the hour, in double.
void computeAssistance(const AssistanceSource& source, double supplyingLoad, LevelSums& sums,
                       HourAssistance& assistance);

}  // namespace adequacy
