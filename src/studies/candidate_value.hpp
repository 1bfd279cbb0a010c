#pragma once
// What candidate units are worth to the whole system: their effective
// load-carrying capability (ELCC), the load the system carries at the target
// with them minus without, and their equivalent firm capacity (EFC), the MW
// of capacity that is never out giving the same index as they do.

#include <optional>
#include <string>

#include "model/candidate.hpp"
#include "studies/index_at_load.hpp"
#include "studies/load_carrying.hpp"

namespace adequacy::studies {

struct CandidateValue {
    std::string file;
    int installedMw = 0;
    double elccMw = 0.0;
    double efcMw = 0.0;
};

// The system without the candidate, as the study has solved it already.
struct SystemWithout {
    const StudySystem& system;
    WholeSystemIndices& indices;
    double carriedMw;  // its load-carrying capability at the target
};

// Builds the outage tables of the system with the candidate's units once,
// and its loads net of the candidate's variable resources, and reads both
// figures from them. None when the target is out of reach with it.
std::optional<CandidateValue> valueOfCandidate(const CandidateUnits& candidate,
                                               const SystemWithout& without, const Target& target,
                                               LoadForm form);

// The EFC at the year's loads as they are. At the target's load it would
// be the ELCC itself, for the same MW added to every hour and a target on
// LOLE, LOLH or unserved energy: firm capacity of x MW moves the installed
// MW and not the outages, so it carries exactly x MW more.
double equivalentFirmMw(WholeSystemIndices& without, double indexWith, StudyIndex index,
                        int candidateMw);

}  // namespace adequacy::studies
