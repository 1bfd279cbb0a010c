#include "studies/study_cases.hpp"

#include <algorithm>

#include "direct/single_area.hpp"

namespace adequacy::studies {

std::unique_ptr<StudyCases> studyCases(const StudySystem& system, const UnitTypes& units,
                                       const CapacityTables& tables,
                                       std::span<const MaintenanceWindow> windows) {
    auto study = std::make_unique<StudyCases>();
    buildServiceTables(units, tables, windows, study->service);
    sizeLoadCases(system, study->cases);
    computeLoadCases(system, system.loadParameters, study->cases);
    auto loads = std::make_unique<HourlyLoads>();
    for (int w = 0; w < study->cases.weatherYears; ++w) {
        forecastLoads(system, system.loadParameters, w, *loads);
        study->totalPeakMw = std::max(study->totalPeakMw, static_cast<double>(loads->totalPeak));
        study->area1PeakMw = std::max(study->area1PeakMw, static_cast<double>(loads->area1Peak));
    }
    study->mttrFactor = computeMttrFactor(tables.generationMttr);
    return study;
}

StudySystem withVariables(const StudySystem& system, const CandidateUnits& candidate) {
    StudySystem with = system;
    with.variables.insert(with.variables.end(), candidate.variables.begin(),
                          candidate.variables.end());
    return with;
}

}  // namespace adequacy::studies
