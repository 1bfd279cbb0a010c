#pragma once
// A system small enough to work out by hand: one 100 MW unit in each area,
// forced-outage rates 0.1 (area 1) and 0.2 (area 0), repair time 5 days,
// and a constant load of 150 MW every hour, 50 MW of it in area 1, given as
// a year of hourly loads. The tie carries 50 MW either way with certainty.

#include <vector>

#include "model/study_system.hpp"
#include "model/system_data.hpp"

namespace adequacy::testing {

inline StudySystem twoUnitSystem() {
    StudySystem system;
    system.types = {UnitType{100, 0, 0.1f, 0.0f, 5.0f}, UnitType{100, 0, 0.2f, 0.0f, 5.0f}};
    system.unitTypes = {0, 1};
    system.area1UnitCount = 1;
    system.hourlyLoads = HourlyLoadYear{"constant.csv", std::vector<float>(hoursPerYear, 150.0f),
                                        std::vector<float>(hoursPerYear, 50.0f)};
    system.atc = AtcTable{};
    system.atc.mw[0] = 50.0f;
    system.atc.probability[0] = 1.0f;
    system.atc.mw[1] = -50.0f;
    system.atc.probability[1] = 1.0f;
    return system;
}

}  // namespace adequacy::testing
