#pragma once
// What the years of a varying system's run are weighed and measured by: the
// weather years' weights, the load forecast's steps and the energy demand
// of area 1 in each weather year. Kept with the years, so that runs put
// together from their results files weigh their years as one run would.

#include <vector>

#include "model/forecast_steps.hpp"
#include "model/load_cases.hpp"

namespace adequacy::independent {

struct RunCases {
    std::vector<double> weatherWeights;  // empty for a plain system
    std::vector<ForecastStep> steps;     // empty for a plain system
    // Per weather year: its area-1 net loads summed over the year (MWh),
    // weighted over the steps.
    std::vector<double> area1DemandMwh;

    bool varying() const { return !weatherWeights.empty(); }
    int stepCount() const { return steps.size() > 1 ? static_cast<int>(steps.size()) : 1; }
};

RunCases runCases(const LoadCases& cases);

}  // namespace adequacy::independent
