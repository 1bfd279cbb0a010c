#pragma once
// The unit types and the areas' lists of units, as a system file writes
// them: read and checked the same way wherever such tables stand (a system
// file, a file of candidate units).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/study_system.hpp"
#include "system/toml_values.hpp"

namespace adequacy::system {

// "name[3]" for the entry of 0-based index 2.
std::string numbered(std::string_view name, std::size_t index0);

// The `[[unit_type]]` tables of the root, at least one.
std::vector<UnitType> readUnitTypes(const TomlSource& source, const toml::table& root);

struct AreaUnits {
    std::vector<int> typeIndices;  // 0-based, one repetition
    std::int64_t repeat = 1;
    int line = 0;
};

// The table `name` of the root (required), its units naming types 1 to
// `typeCount`.
AreaUnits readArea(const TomlSource& source, const toml::table& root, const std::string& name,
                   int typeCount);

// Appends the area's units and checks the running count and capacity.
void appendArea(const TomlSource& source, const AreaUnits& area, const std::string& name,
                const std::vector<UnitType>& types, std::vector<int>& unitTypes);

}  // namespace adequacy::system
