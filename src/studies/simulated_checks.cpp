#include "studies/simulated_checks.hpp"

#include <algorithm>
#include <cmath>
#include <memory>

#include "direct/atc_check.hpp"

namespace adequacy::studies {
namespace {

SimulatedFigure meanAndError(const std::vector<double>& values) {
    const auto n = static_cast<double>(values.size());
    double sum = 0.0;
    for (double v : values) sum += v;
    const double mean = sum / n;
    double squares = 0.0;
    for (double v : values) squares += (v - mean) * (v - mean);
    return {mean, n > 1.0 ? std::sqrt(squares / (n - 1.0) / n) : std::nan("")};
}

// How far a check reads the loads: past the load found by the candidates'
// MW and a tenth of the peak, so that every crossing it looks for is within
// the hours recorded.
LinearLoad reachOf(double foundMw, double extraMw, double peakMw, LoadForm form) {
    return linearLoad(LoadChange{form, foundMw + extraMw + 0.1 * peakMw}, peakMw);
}

SearchRange checkSearch(double foundMw, double reachMw, double peakMw) {
    return {foundMw, std::max(1.0, 0.01 * peakMw), foundMw - peakMw, reachMw};
}

// The load the simulated years carry at the target, within the reach.
std::optional<double> simulatedCarried(const SimulatedIndices& indices, const Target& target,
                                       LoadForm form, const SearchRange& range) {
    auto indexAt = [&](double mw) {
        return valueOf(indices.at(LoadChange{form, mw}), target.index);
    };
    return largestMeeting(indexAt, target.value, range);
}

// Years simulated on some cases of loads, and the MW installed with them.
struct Configuration {
    const SimulatedYears& years;
    const LoadCases& cases;
    int installedMw;
};

// A crossing found from simulated years moves with the index there: by the
// index's error over its slope. Each year's index at the crossing, over the
// slope of the index around it, is that year's part of the crossing.
struct Crossing {
    double mw;
    std::vector<double> yearParts;
};

std::optional<Crossing> crossingOf(const SimulatedIndices& indices, const Target& target,
                                   LoadForm form, const SearchRange& range) {
    const auto mw = simulatedCarried(indices, target, form, range);
    if (!mw) return std::nullopt;
    const double h = std::max(1.0, slopeShare * indices.peakMw());
    auto indexAt = [&](double x) { return valueOf(indices.at(LoadChange{form, x}), target.index); };
    const double slope = (indexAt(std::min(*mw + h, range.highest)) - indexAt(*mw - h)) /
                         (std::min(*mw + h, range.highest) - (*mw - h));
    Crossing crossing{*mw, indices.yearValues(LoadChange{form, *mw}, target.index)};
    for (double& part : crossing.yearParts) part = slope > 0.0 ? part / slope : std::nan("");
    return crossing;
}

// The ELCC of the simulated years, and its standard error from the years'
// parts of the two crossings: on common random numbers the two move together.
// Both measure a scaled load from the system's own peak.
std::optional<SimulatedFigure> simulatedElcc(const Configuration& without,
                                             const Configuration& with, double peakMw,
                                             const Target& target, LoadForm form,
                                             const SearchRange& range) {
    const SimulatedIndices a(without.years, without.cases, false, without.installedMw, peakMw);
    const SimulatedIndices b(with.years, with.cases, false, with.installedMw, peakMw);
    const auto x = crossingOf(a, target, form, range);
    const auto y = crossingOf(b, target, form, range);
    if (!x || !y) return std::nullopt;
    std::vector<double> differences(x->yearParts.size());
    for (std::size_t i = 0; i < differences.size(); ++i)
        differences[i] = y->yearParts[i] - x->yearParts[i];
    return SimulatedFigure{y->mw - x->mw, meanAndError(differences).standardError};
}

// The cases with the candidate's variable resources taken off the loads;
// none when it brings none, and the system's own serve.
std::unique_ptr<LoadCases> casesWith(const StudySystem& system, const CandidateUnits& candidate) {
    if (candidate.variables.empty()) return nullptr;
    const StudySystem with = withVariables(system, candidate);
    auto cases = std::make_unique<LoadCases>();
    sizeLoadCases(with, *cases);
    computeLoadCases(with, with.loadParameters, *cases);
    return cases;
}

// What the study checks, simulated once without any candidate.
struct Checked {
    const StudySystem& system;
    const StudyCases& study;
    const AtcTable& atc;
    const Configuration& without;
    LinearLoad reach;
    SearchRange range;
};

// The candidate's units draw on their own streams and its variable
// resources only change the loads, so the system's units draw as they did
// without it.
std::optional<SimulatedFigure> candidateElcc(const Checked& checked,
                                             const CandidateUnits& candidate, double candidateMw,
                                             const Target& target, LoadForm form,
                                             const SimulationRequest& request) {
    const UnitTypes units = withCandidate(checked.system, candidate);
    const std::vector<MaintenanceWindow> maintenance = maintenanceWith(checked.system, candidate);
    const std::unique_ptr<LoadCases> own = casesWith(checked.system, candidate);
    const LoadCases& cases = own ? *own : checked.study.cases;
    const SimulatedYears years = simulateYears({units, checked.atc, cases, maintenance},
                                               checked.reach, LinearLoad{}, request);
    const Configuration with{years, cases,
                             checked.without.installedMw + static_cast<int>(candidateMw)};
    return simulatedElcc(checked.without, with, checked.study.totalPeakMw, target, form,
                         checked.range);
}

}  // namespace

SimulatedChecks checkBySimulation(const StudySystem& system,
                                  const std::vector<CandidateUnits>& candidates,
                                  const StudyCases& study, const Target& target, LoadForm form,
                                  const FoundLoads& found, const SimulationRequest& request) {
    SimulatedChecks checks;
    checks.request = request;
    AtcTable atc = system.atc;
    setAtcResidues(atc);
    const UnitTypes units = unitTypesOf(system);
    const double peak = study.totalPeakMw;
    const double extra = found.candidateMw.empty() ? 0.0
                                                   : *std::max_element(found.candidateMw.begin(),
                                                                       found.candidateMw.end());
    const LinearLoad reach = reachOf(found.wholeSystem, extra, peak, form);
    const SimulatedYears years =
        simulateYears({units, atc, study.cases, system.maintenance}, reach,
                      reachOf(found.area1.value_or(0.0), 0.0, study.area1PeakMw, form), request);
    int installed = 0;
    for (int t : system.unitTypes) installed += system.types[static_cast<std::size_t>(t)].pmaxMw;
    const SimulatedIndices whole(years, study.cases, false, installed, peak);
    checks.wholeSystem =
        meanAndError(whole.yearValues(LoadChange{form, found.wholeSystem}, target.index));
    if (found.area1) {
        const SimulatedIndices area1(years, study.cases, true, 0, study.area1PeakMw);
        checks.area1 = meanAndError(area1.yearValues(LoadChange{form, *found.area1}, target.index));
    }
    const Configuration without{years, study.cases, installed};
    const double reachMw = found.wholeSystem + extra + 0.1 * peak;
    const Checked checked{system,  study, atc,
                          without, reach, checkSearch(found.wholeSystem, reachMw, peak)};
    for (std::size_t c = 0; c < candidates.size(); ++c)
        checks.elccMw.push_back(
            candidateElcc(checked, candidates[c], found.candidateMw[c], target, form, request));
    return checks;
}

}  // namespace adequacy::studies
