#pragma once
// The keys of a system file that make its years differ: `[[variable]]`
// resources, `[weather]` weights, `[[maintenance]]` windows and the loads'
// `forecast_uncertainty`. doc/system-file.md describes them.

#include <cstddef>
#include <string>
#include <vector>

#include "model/study_system.hpp"
#include "system/toml_values.hpp"

namespace adequacy::system {

ForecastUncertainty readForecastUncertainty(const TomlSource& source, const toml::node& node);

// The `[[variable]]` tables of the root. Their files hold `years` weather
// years, as the file `holder` does; with `years` 0, as many as the first.
std::vector<VariableResource> readVariableList(const TomlSource& source, const toml::table& root,
                                               std::size_t years, std::string holder);

// Reads the variable resources, the weather weights and the maintenance
// windows into `system`, whose units and loads are already read, and checks
// that every hourly file holds the same weather years.
void readVariation(const TomlSource& source, const toml::table& root, StudySystem& system);

}  // namespace adequacy::system
