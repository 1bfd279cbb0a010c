#pragma once
// The console summary of a capacity study: the figures a planner looks for,
// one table each; the results file holds them all at full precision.

#include <string>

#include "studies/capacity_study.hpp"

namespace adequacy::studies {

std::string capacitySummary(const CapacityResults& results);

}  // namespace adequacy::studies
