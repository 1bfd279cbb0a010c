#pragma once
// Units that a study adds to the system to find what they are worth: their
// own unit types and the units that join each area.

#include <string>
#include <vector>

#include "model/study_system.hpp"
#include "model/system_data.hpp"

namespace adequacy {

struct CandidateUnits {
    std::string source;           // the file's path as given
    std::vector<UnitType> types;  // numbered 1, 2, ... within the candidate
    std::vector<int> area1Units;  // 0-based indices into `types`
    std::vector<int> area0Units;
    // Resources whose output follows the weather, as a system file's.
    std::vector<VariableResource> variables;
};

// The units' MW, and the largest hour's output of the variable resources.
int installedMw(const CandidateUnits& candidate);

// The system's units with the candidate's. The candidate's types follow the
// system's, and its units follow each area's own, so that the system's units
// keep their places and their order.
UnitTypes withCandidate(const StudySystem& system, const CandidateUnits& candidate);

// The system's maintenance windows with its units numbered as they are
// with the candidate's.
std::vector<MaintenanceWindow> maintenanceWith(const StudySystem& system,
                                               const CandidateUnits& candidate);

}  // namespace adequacy
