#pragma once
// The results file of a capacity study (schema in doc/results.md).

#include <nlohmann/json.hpp>

#include "studies/capacity_study.hpp"

namespace adequacy::studies {

// The whole document: the program, the system and the `capacity` object.
nlohmann::ordered_json capacityDocument(const CapacityResults& results);

}  // namespace adequacy::studies
