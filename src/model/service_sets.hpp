#pragma once
// The units in service day by day when some are out for planned
// maintenance: each distinct set of units in service once, and the set of
// each day, so that the direct solutions build a set's tables only once.

#include <array>
#include <span>
#include <vector>

#include "model/system_data.hpp"
#include "model/variation.hpp"

namespace adequacy {

struct ServiceSets {
    // The units of each set, in unit order: the system's own types, area 1's
    // units first. Set 0 serves the first day.
    std::vector<UnitTypes> units;
    std::array<int, daysPerYear> setOfDay{};

    int count() const { return static_cast<int>(units.size()); }
};

// Without maintenance, one set of every unit.
ServiceSets serviceSets(const UnitTypes& units, std::span<const MaintenanceWindow> windows);

// Whether unit u (0-based) is on maintenance on `day` (1..365).
bool onMaintenance(std::span<const MaintenanceWindow> windows, int unit, int day);

}  // namespace adequacy
