#pragma once
// The two-area direct solution: each area against its own table, with the
// assistance that the other area can send over the tie.

#include <cstddef>
#include <functional>

#include "direct/atc_table.hpp"
#include "direct/outage_table.hpp"
#include "direct/single_area.hpp"
#include "model/loads.hpp"
#include "report/channel.hpp"

namespace adequacy {

enum class ReceivingArea { area1, area0 };

// The assisted tables that a solution keeps, one per distinct load of the
// supplying area, may take this much memory; a system whose tables need more
// is solved with one table.
inline constexpr std::size_t keptTablesMemory = std::size_t{128} << 20;

AnnualIndices computeTwoArea(ReceivingArea area, const CapacityTables& tables,
                             const HourlyLoads& loads, const AtcTable& atc, float mttrFactor,
                             std::size_t keptTableBytes = keptTablesMemory);

// Adds the hours of the days taken to `sums`.
void addTwoArea(ReceivingArea area, const CapacityTables& tables, const HourlyLoads& loads,
                const AtcTable& atc, DayFilter days, IndexSums& sums,
                std::size_t keptTableBytes = keptTablesMemory);

struct TwoAreaIndices {
    AnnualIndices area1;
    AnnualIndices area0;
};

// An area's indices solved otherwise than from `tables` and `loads` alone.
using AreaSolver = std::function<AnnualIndices(ReceivingArea)>;

// Solves area 1 and then area 0, writes their lines and returns the area-1
// energy demand; the indices go to `solved` as well when it is given. The
// reserve margins are those of `tables` and `loads`.
float solveTwoAreas(const CapacityTables& tables, const HourlyLoads& loads, const AtcTable& atc,
                    float mttrFactor, float& cpuMark, report::Channel& console,
                    report::Channel& reportFile, TwoAreaIndices* solved = nullptr,
                    const AreaSolver& solver = {});

}  // namespace adequacy
