#pragma once
// Everything the sequential simulation carries from one year to the next, as
// plain comparable values: two implementations of the year loop that start
// from equal states and equal probabilities must end with equal states, field
// for field and bit for bit.

#include <array>
#include <cstdint>
#include <vector>

#include "direct/atc_table.hpp"
#include "model/system_data.hpp"
#include "montecarlo/month_hour.hpp"

namespace adequacy {

// The tie can be in rows 1..11 of the ATC table; row 12 (zero export) only
// balances the table and is never a state.
inline constexpr int atcTieStates = atcZeroImportRow;

// Unit states: full capacity, forced outage, derated.
inline constexpr int unitUp = 1;
inline constexpr int unitOut = 0;
inline constexpr int unitDerated = 2;

// Hourly transition probabilities, fixed once the units and the tie are set
// up; one entry per unit.
struct TransitionProbabilities {
    std::vector<float> unitRepairProb;
    std::vector<float> unitFailProb;
    // The share of a unit's failures that end in the derated state.
    std::vector<float> unitDeratedShare;
    float atcReducedProb;  // 1 - probability of row 1
    float atcLeaveProb;    // hourly probability of leaving row 1
    bool operator==(const TransitionProbabilities&) const = default;
};

struct TieState {
    int atcState;                                    // row 1..11 in force
    std::array<double, atcTieStates> atcStateHours;  // hours spent in each row
    bool operator==(const TieState&) const = default;
};

// Loss-of-load totals of one area over all simulated years.
struct AreaCounters {
    double lolHours;
    double lolDays;
    double lolFreeYears;
    double unservedEnergy;  // MWh
    bool operator==(const AreaCounters&) const = default;
};

struct SimulationState {
    std::uint32_t ranSeed;
    std::vector<int> unitState;  // one per unit, sized at set-up
    TieState tie;
    int yearCount;
    AreaCounters system;
    AreaCounters area1;
    // Area-1 loss-of-load hours in which the tie carried the full capability
    // of the row in force, per row.
    std::array<double, atcRows> atcLimitedLolHours;
    MonthHourTallies byMonthHour;
    bool operator==(const SimulationState&) const = default;
};

// The running estimates after n years, one record per scratch file:
// LOLH, LOLE, ALOLP and MWHEUE of the whole system and of area 1, and the
// yearly rate of tie-limited loss-of-load hours per ATC row.
inline constexpr int areaEstimates = 4;
struct YearRecords {
    std::array<double, areaEstimates> system;
    std::array<double, areaEstimates> area1;
    std::array<double, atcRows> tie;
    bool operator==(const YearRecords&) const = default;
};

}  // namespace adequacy
