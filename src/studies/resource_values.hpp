#pragma once
// What the system's own variable resources are worth: each one's ELCC, the
// load the system carries at the target with it minus without it, and its
// EFC, the firm MW that would stand in for it, as for a candidate added to
// the system without it.

#include <optional>
#include <vector>

#include "direct/outage_table.hpp"
#include "model/study_system.hpp"
#include "studies/candidate_value.hpp"
#include "studies/load_change.hpp"
#include "studies/target.hpp"

namespace adequacy::studies {

// One value per resource, in the file's order, named by the resource; none
// when the target is out of reach without one of them.
std::optional<std::vector<CandidateValue>> valuesOfResources(const StudySystem& system,
                                                             const CapacityTables& tables,
                                                             const Target& target, LoadForm form);

}  // namespace adequacy::studies
