#pragma once
// The loads the analysis takes, case by case: for every weather year and
// every step of the load forecast, the hourly loads of the whole system and
// of area 1 net of the variable resources' output in each area. A system
// without weather years, variable resources or forecast uncertainty has one
// case, its loads as they always were.

#include <span>
#include <vector>

#include "model/forecast_steps.hpp"
#include "model/loads.hpp"
#include "model/study_system.hpp"

namespace adequacy {

struct LoadCases {
    int weatherYears = 1;
    std::vector<double> weatherWeights;  // one per weather year, adding up to 1
    std::vector<ForecastStep> steps;     // one per step, weights adding up to 1
    std::vector<HourlyLoads> loads;      // weather year by weather year, the steps of each

    int stepCount() const { return static_cast<int>(steps.size()); }
    int caseCount() const { return static_cast<int>(loads.size()); }
    const HourlyLoads& at(int weatherYear, int step) const {
        return loads[static_cast<std::size_t>(weatherYear * stepCount() + step)];
    }
    HourlyLoads& at(int weatherYear, int step) {
        return loads[static_cast<std::size_t>(weatherYear * stepCount() + step)];
    }
    // Whether there is more than the one case of a plain system.
    bool several() const { return loads.size() > 1; }
};

// The weather years of the system (1 when nothing gives several).
int weatherYearsOf(const StudySystem& system);

// Sizes the cases once for the system; they are filled by computeLoadCases.
void sizeLoadCases(const StudySystem& system, LoadCases& cases);

// The cases for the load parameters in force (when the system's loads are
// not given hour by hour). An hour of case (w, s) has the whole-system load
// L * scale - V1 - V0 and the area-1 load L1 * scale - V1, formed in double
// and held in single precision, V1 and V0 being the areas' variable output
// in that hour of weather year w. A case of scale 1 without variable
// resources is the loads exactly as computed or read; any other case takes
// each day's peak hours from its own net loads.
void computeLoadCases(const StudySystem& system, const LoadParameters& parameters,
                      LoadCases& cases);

// Weather year w's net loads at the forecast itself, whatever the steps.
void forecastLoads(const StudySystem& system, const LoadParameters& parameters, int weatherYear,
                   HourlyLoads& loads);

}  // namespace adequacy
