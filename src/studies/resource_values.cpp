#include "studies/resource_values.hpp"

#include "studies/study_cases.hpp"

namespace adequacy::studies {
namespace {

StudySystem withoutResource(const StudySystem& system, std::size_t index) {
    StudySystem without = system;
    without.variables.erase(without.variables.begin() + static_cast<std::ptrdiff_t>(index));
    return without;
}

}  // namespace

std::optional<std::vector<CandidateValue>> valuesOfResources(const StudySystem& system,
                                                             const CapacityTables& tables,
                                                             const Target& target, LoadForm form) {
    std::vector<CandidateValue> values;
    const UnitTypes units = unitTypesOf(system);
    for (std::size_t r = 0; r < system.variables.size(); ++r) {
        const StudySystem without = withoutResource(system, r);
        const auto study = studyCases(without, units, tables, without.maintenance);
        WholeSystemIndices indices(*study);
        const auto carried = loadCarryingCapability(indices, target, form);
        if (!carried) return std::nullopt;
        CandidateUnits resource;
        resource.source = system.variables[r].name;
        resource.variables = {system.variables[r]};
        const auto value = valueOfCandidate(
            resource, SystemWithout{without, indices, carried->addedMw}, target, form);
        if (!value) return std::nullopt;
        values.push_back(*value);
    }
    return values;
}

}  // namespace adequacy::studies
