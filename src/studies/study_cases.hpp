#pragma once
// What a capacity study solves: the system's cases of loads (every weather
// year at every forecast step, net of variable resources) and the tables of
// the units in service day by day. A plain system is one case of its year's
// loads and one set of tables.

#include <memory>

#include "direct/case_solutions.hpp"
#include "model/candidate.hpp"
#include "model/load_cases.hpp"
#include "model/study_system.hpp"

namespace adequacy::studies {

struct StudyCases {
    ServiceTables service;
    LoadCases cases;
    // The largest over the weather years of the loads at the forecast: the
    // peak a study's load change is measured from.
    double totalPeakMw = 0.0;
    double area1PeakMw = 0.0;
    float mttrFactor = 0.0f;
    // Each case's weight: its weather year's times its step's.
    double weight(int weatherYear, int step) const {
        return cases.weatherWeights[static_cast<std::size_t>(weatherYear)] *
               cases.steps[static_cast<std::size_t>(step)].weight;
    }
};

// The cases of `system` with `units`, whose tables (`tables`, built from
// the units in service all year) are already built; `windows` number the
// units as `units` does. Null when a set of units in service is invalid.
std::unique_ptr<StudyCases> studyCases(const StudySystem& system, const UnitTypes& units,
                                       const CapacityTables& tables,
                                       std::span<const MaintenanceWindow> windows);

// The system with the candidate's variable resources beside its own.
StudySystem withVariables(const StudySystem& system, const CandidateUnits& candidate);

}  // namespace adequacy::studies
