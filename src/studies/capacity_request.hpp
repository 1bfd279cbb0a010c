#pragma once
// What the capacity command is asked to study, as its command line gives it.

#include <optional>
#include <string>
#include <vector>

#include "studies/load_change.hpp"
#include "studies/simulated_years.hpp"
#include "studies/target.hpp"

namespace adequacy::studies {

struct CapacityRequest {
    std::optional<std::string> systemPath;  // the built-in system without it
    Target target;
    LoadForm form = LoadForm::add;
    std::vector<std::string> candidatePaths;
    std::optional<std::string> jsonPath;
    // With --years: the study checked by the independent engine.
    std::optional<SimulationRequest> simulation;
};

}  // namespace adequacy::studies
