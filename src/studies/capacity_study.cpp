#include "studies/capacity_study.hpp"

#include <memory>

#include "direct/atc_check.hpp"
#include "direct/single_area.hpp"
#include "report/clock.hpp"
#include "results/recorder.hpp"
#include "studies/resource_values.hpp"

namespace adequacy::studies {
namespace {

// Area 1 with the system's tie and with no tie at all; the tie's capacity
// value is the difference.
void studyArea1(const StudyCases& study, const AtcTable& systemAtc, CapacityResults& r) {
    AtcTable atc = systemAtc;
    AtcTable noTie{};
    setAtcResidues(noTie);
    std::optional<Area1Indices> with;
    if (setAtcResidues(atc)) with = Area1Indices::make(study, atc);
    auto without = Area1Indices::make(study, noTie);
    if (with) r.area1 = loadCarryingCapability(*with, r.target, r.form);
    if (without) r.area1WithoutTie = loadCarryingCapability(*without, r.target, r.form);
    if (r.area1 && r.area1WithoutTie)
        r.tieCapacityValueMw = r.area1->addedMw - r.area1WithoutTie->addedMw;
}

std::string outOfReach(const Target& target, const std::string& what) {
    return std::string(what)
        .append(": ")
        .append(nameOf(target.index))
        .append(" does not reach the target with any load up to a hundred times the system's size");
}

}  // namespace

std::variant<CapacityResults, std::string> runCapacityStudy(
    const StudySystem& system, const std::vector<CandidateUnits>& candidates, const Target& target,
    LoadForm form, const std::optional<SimulationRequest>& simulation) {
    const float start = report::processorSeconds();
    CapacityResults r;
    r.target = target;
    r.form = form;
    const auto tables = std::make_unique<CapacityTables>();
    report::Channel console = report::consoleChannel();
    if (buildCapacityTables(unitTypesOf(system), *tables, console) != BuildOutcome::built)
        return std::string("the system's unit data is invalid");
    r.system =
        results::systemInfo(system.source, static_cast<int>(system.unitTypes.size()), *tables);
    const auto study = studyCases(system, unitTypesOf(system), *tables, system.maintenance);
    WholeSystemIndices whole(*study);
    const auto carried = loadCarryingCapability(whole, target, form);
    if (!carried) return outOfReach(target, "the whole system");
    r.wholeSystem = *carried;
    studyArea1(*study, system.atc, r);
    const SystemWithout without{system, whole, carried->addedMw};
    for (const CandidateUnits& candidate : candidates) {
        const auto value = valueOfCandidate(candidate, without, target, form);
        if (!value) return outOfReach(target, candidate.source);
        r.candidates.push_back(*value);
    }
    const auto resources = valuesOfResources(system, *tables, target, form);
    if (!resources) return outOfReach(target, "the system without one of its variable resources");
    r.resources = *resources;
    r.curve = reliabilityCurve(whole, form, carried->addedMw);
    if (simulation) {
        FoundLoads found{carried->addedMw, std::nullopt, {}};
        if (r.area1) found.area1 = r.area1->addedMw;
        for (const CandidateValue& c : r.candidates) found.candidateMw.push_back(c.installedMw);
        r.simulated =
            checkBySimulation(system, candidates, *study, target, form, found, *simulation);
    }
    r.seconds = static_cast<float>(static_cast<double>(report::processorSeconds()) - start);
    return r;
}

}  // namespace adequacy::studies
