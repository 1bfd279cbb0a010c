#pragma once
// The generating units of the system under study: the unit types and which
// type each unit is, in the order in which the units are taken (tables and
// simulation alike), area 1's units first. Sized once at start-up from the
// system; the built-in system is ten unit types in eleven identical blocks,
// block 1 being area 1.

#include <cstdint>
#include <vector>

namespace adequacy {

// The outage tables reach at least this level; a system whose tables are
// still significant above it gets a higher top (see outage_table.hpp).
inline constexpr int minimumTableTop = 3000;
inline constexpr int daysPerYear = 365;
inline constexpr int hoursPerDay = 24;
inline constexpr int hoursPerYear = daysPerYear * hoursPerDay;  // 8760

struct UnitTypes {
    // Per unit type (0-based index).
    std::vector<int> pmax;
    std::vector<int> deratedMw;
    std::vector<float> forcedOutageRate;
    std::vector<float> deratedProbability;
    std::vector<float> mttrDays;
    // Per unit, in unit order: its type index. Units 0..area1UnitCount-1 form
    // area 1, the others area 0.
    std::vector<int> unitType;
    int area1UnitCount = 0;
    // Per unit, where the independent engine takes its random numbers from;
    // empty: its place in unit order. Units added for a study draw after the
    // system's own, so that the system's units keep their histories.
    std::vector<std::uint32_t> stream;

    int typeCount() const { return static_cast<int>(pmax.size()); }
    int unitCount() const { return static_cast<int>(unitType.size()); }
    int typeOf(int unitIndex0) const { return unitType[static_cast<std::size_t>(unitIndex0)]; }
};

// The built-in composition: unit number k (1-based) = 10 * (block - 1) + type.
inline constexpr int builtInTypeCount = 10;
inline constexpr int builtInBlockCount = 11;

UnitTypes builtInUnitTypes();

}  // namespace adequacy
