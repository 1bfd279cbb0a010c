#pragma once
// A capacity study of one system: the load it carries at a reliability
// target, as a whole and in area 1, what the tie and candidate units are
// worth, and the reliability curve around the target.

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "model/candidate.hpp"
#include "model/study_system.hpp"
#include "results/results.hpp"
#include "studies/candidate_value.hpp"
#include "studies/load_carrying.hpp"
#include "studies/reliability_curve.hpp"
#include "studies/simulated_checks.hpp"

namespace adequacy::studies {

struct CapacityResults {
    Target target;
    LoadForm form = LoadForm::add;
    results::SystemInfo system;
    CarryingCapability wholeSystem;
    // None when the simulated tie cannot run on the ATC table, or when the
    // target is out of area 1's reach.
    std::optional<CarryingCapability> area1;
    std::optional<CarryingCapability> area1WithoutTie;
    std::optional<double> tieCapacityValueMw;  // area 1 with the tie minus without
    std::vector<CandidateValue> candidates;    // in the order given
    std::vector<CandidateValue> resources;     // the system's variable resources, by name
    std::vector<CurvePoint> curve;
    std::optional<SimulatedChecks> simulated;  // with --years
    float seconds = 0.0f;                      // processor time of the study
};

// The results, or one line saying what kept them from being found.
std::variant<CapacityResults, std::string> runCapacityStudy(
    const StudySystem& system, const std::vector<CandidateUnits>& candidates, const Target& target,
    LoadForm form, const std::optional<SimulationRequest>& simulation = std::nullopt);

}  // namespace adequacy::studies
