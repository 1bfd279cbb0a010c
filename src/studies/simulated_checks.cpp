#include "studies/simulated_checks.hpp"

#include <algorithm>
#include <cmath>

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

struct Configuration {
    const SimulatedYears& years;
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
std::optional<SimulatedFigure> simulatedElcc(const Configuration& without,
                                             const Configuration& with, const HourlyLoads& loads,
                                             const Target& target, LoadForm form,
                                             const SearchRange& range) {
    const SimulatedIndices a(without.years, loads, false, without.installedMw);
    const SimulatedIndices b(with.years, loads, false, with.installedMw);
    const auto x = crossingOf(a, target, form, range);
    const auto y = crossingOf(b, target, form, range);
    if (!x || !y) return std::nullopt;
    std::vector<double> differences(x->yearParts.size());
    for (std::size_t i = 0; i < differences.size(); ++i)
        differences[i] = y->yearParts[i] - x->yearParts[i];
    return SimulatedFigure{y->mw - x->mw, meanAndError(differences).standardError};
}

}  // namespace

SimulatedChecks checkBySimulation(const StudySystem& system,
                                  const std::vector<CandidateUnits>& candidates,
                                  const HourlyLoads& loads, const Target& target, LoadForm form,
                                  const FoundLoads& found, const SimulationRequest& request) {
    SimulatedChecks checks;
    checks.request = request;
    AtcTable atc = system.atc;
    setAtcResidues(atc);
    const UnitTypes units = unitTypesOf(system);
    const double extra = found.candidateMw.empty() ? 0.0
                                                   : *std::max_element(found.candidateMw.begin(),
                                                                       found.candidateMw.end());
    const double reachMw = found.wholeSystem + extra + 0.1 * loads.totalPeak;
    const SimulatedYears years =
        simulateYears(units, atc, loads, reachOf(found.wholeSystem, extra, loads.totalPeak, form),
                      reachOf(found.area1.value_or(0.0), 0.0, loads.area1Peak, form), request);
    int installed = 0;
    for (int t : system.unitTypes) installed += system.types[static_cast<std::size_t>(t)].pmaxMw;
    const SimulatedIndices whole(years, loads, false, installed);
    checks.wholeSystem =
        meanAndError(whole.yearValues(LoadChange{form, found.wholeSystem}, target.index));
    if (found.area1) {
        const SimulatedIndices area1(years, loads, true, 0);
        checks.area1 = meanAndError(area1.yearValues(LoadChange{form, *found.area1}, target.index));
    }
    const SearchRange range = checkSearch(found.wholeSystem, reachMw, loads.totalPeak);
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        const UnitTypes with = withCandidate(system, candidates[c]);
        const SimulatedYears withYears = simulateYears(
            with, atc, loads, reachOf(found.wholeSystem, extra, loads.totalPeak, form),
            LinearLoad{}, request);
        checks.elccMw.push_back(simulatedElcc(
            {years, installed}, {withYears, installed + static_cast<int>(found.candidateMw[c])},
            loads, target, form, range));
    }
    return checks;
}

}  // namespace adequacy::studies
