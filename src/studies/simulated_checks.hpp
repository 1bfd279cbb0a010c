#pragma once
// A capacity study checked by the independent engine: the index simulated
// at the load found, with its standard error, and each candidate's ELCC
// found again on simulated years, with and without it on common random
// numbers. A varying system is simulated on the cases the direct study
// solved; a candidate's variable resources change the cases' net loads and
// nothing that draws.

#include <cstdint>
#include <optional>
#include <vector>

#include "model/candidate.hpp"
#include "model/study_system.hpp"
#include "studies/load_carrying.hpp"
#include "studies/simulated_years.hpp"
#include "studies/study_cases.hpp"
#include "studies/target.hpp"

namespace adequacy::studies {

struct SimulatedFigure {
    double estimate = 0.0;
    double standardError = 0.0;
};

// The index's slope at a crossing is taken over this share of the peak
// either side of it.
inline constexpr double slopeShare = 0.005;

struct SimulatedChecks {
    SimulationRequest request;
    std::optional<SimulatedFigure> wholeSystem;  // the target's index at the load found
    std::optional<SimulatedFigure> area1;
    std::vector<std::optional<SimulatedFigure>> elccMw;  // per candidate, in MW
};

struct FoundLoads {
    double wholeSystem;
    std::optional<double> area1;
    std::vector<double> candidateMw;  // installed MW of each candidate
};

SimulatedChecks checkBySimulation(const StudySystem& system,
                                  const std::vector<CandidateUnits>& candidates,
                                  const StudyCases& study, const Target& target, LoadForm form,
                                  const FoundLoads& found, const SimulationRequest& request);

}  // namespace adequacy::studies
