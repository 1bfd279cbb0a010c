#include "model/candidate.hpp"

#include <algorithm>
#include <cmath>

namespace adequacy {
namespace {

void appendTypes(const std::vector<UnitType>& types, UnitTypes& units) {
    for (const UnitType& type : types) {
        units.pmax.push_back(type.pmaxMw);
        units.deratedMw.push_back(type.deratedMw);
        units.forcedOutageRate.push_back(type.forcedOutageRate);
        units.deratedProbability.push_back(type.deratedProbability);
        units.mttrDays.push_back(type.mttrDays);
    }
}

void appendUnits(const std::vector<int>& typeIndices, int firstType, std::vector<int>& unitType) {
    for (int t : typeIndices) unitType.push_back(firstType + t);
}

}  // namespace

int installedMw(const CandidateUnits& candidate) {
    int mw = 0;
    for (const std::vector<int>* units : {&candidate.area1Units, &candidate.area0Units})
        for (int t : *units) mw += candidate.types[static_cast<std::size_t>(t)].pmaxMw;
    // Hours apart, the resources' peaks bound what they give at once.
    for (const VariableResource& resource : candidate.variables) {
        float peak = 0.0f;
        for (float output : resource.mw) peak = std::max(peak, output);
        mw += static_cast<int>(std::ceil(peak));
    }
    return mw;
}

std::vector<MaintenanceWindow> maintenanceWith(const StudySystem& system,
                                               const CandidateUnits& candidate) {
    std::vector<MaintenanceWindow> windows = system.maintenance;
    for (MaintenanceWindow& window : windows)
        if (window.unit >= system.area1UnitCount)
            window.unit += static_cast<int>(candidate.area1Units.size());
    return windows;
}

UnitTypes withCandidate(const StudySystem& system, const CandidateUnits& candidate) {
    UnitTypes units;
    appendTypes(system.types, units);
    appendTypes(candidate.types, units);
    const int firstType = static_cast<int>(system.types.size());
    const auto area1End = system.unitTypes.begin() + system.area1UnitCount;
    units.unitType.assign(system.unitTypes.begin(), area1End);
    appendUnits(candidate.area1Units, firstType, units.unitType);
    units.area1UnitCount = static_cast<int>(units.unitType.size());
    units.unitType.insert(units.unitType.end(), area1End, system.unitTypes.end());
    appendUnits(candidate.area0Units, firstType, units.unitType);
    // The system's units draw as they do without the candidate, which draws
    // after them: a simulation with and without it differs by its units alone.
    const auto system1 = static_cast<std::uint32_t>(system.area1UnitCount);
    const auto systemUnits = static_cast<std::uint32_t>(system.unitTypes.size());
    const auto added1 = static_cast<std::uint32_t>(candidate.area1Units.size());
    for (std::uint32_t u = 0; u < system1; ++u) units.stream.push_back(u);
    for (std::uint32_t k = 0; k < added1; ++k) units.stream.push_back(systemUnits + k);
    for (std::uint32_t u = system1; u < systemUnits; ++u) units.stream.push_back(u);
    for (std::uint32_t k = 0; k < candidate.area0Units.size(); ++k)
        units.stream.push_back(systemUnits + added1 + k);
    return units;
}

}  // namespace adequacy
