#include "model/service_sets.hpp"

#include <algorithm>

namespace adequacy {
namespace {

// Which units are out on `day`, one flag per unit.
std::vector<bool> outOn(const UnitTypes& units, std::span<const MaintenanceWindow> windows,
                        int day) {
    std::vector<bool> out(static_cast<std::size_t>(units.unitCount()), false);
    for (const MaintenanceWindow& window : windows)
        if (window.firstDay <= day && day <= window.lastDay)
            out[static_cast<std::size_t>(window.unit)] = true;
    return out;
}

UnitTypes inService(const UnitTypes& units, const std::vector<bool>& out) {
    UnitTypes set = units;
    set.unitType.clear();
    set.stream.clear();
    set.area1UnitCount = 0;
    for (int u = 0; u < units.unitCount(); ++u) {
        if (out[static_cast<std::size_t>(u)]) continue;
        set.unitType.push_back(units.typeOf(u));
        if (u < units.area1UnitCount) ++set.area1UnitCount;
    }
    return set;
}

}  // namespace

ServiceSets serviceSets(const UnitTypes& units, std::span<const MaintenanceWindow> windows) {
    ServiceSets sets;
    std::vector<std::vector<bool>> seen;
    for (int day = 1; day <= daysPerYear; ++day) {
        std::vector<bool> out = outOn(units, windows, day);
        auto found = std::find(seen.begin(), seen.end(), out);
        if (found == seen.end()) {
            sets.units.push_back(inService(units, out));
            seen.push_back(std::move(out));
            found = seen.end() - 1;
        }
        sets.setOfDay[static_cast<std::size_t>(day - 1)] = static_cast<int>(found - seen.begin());
    }
    return sets;
}

bool onMaintenance(std::span<const MaintenanceWindow> windows, int unit, int day) {
    return std::any_of(windows.begin(), windows.end(), [unit, day](const MaintenanceWindow& w) {
        return w.unit == unit && w.firstDay <= day && day <= w.lastDay;
    });
}

}  // namespace adequacy
