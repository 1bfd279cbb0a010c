#include "direct/case_solutions.hpp"

#include "direct/single_area.hpp"
#include "model/service_sets.hpp"
#include "report/channel.hpp"

namespace adequacy {
namespace {

DayFilter daysOf(const ServiceTables& service, int set) {
    if (service.count() == 1) return DayFilter{};
    return DayFilter{service.setOfDay, set};
}

std::vector<double> stepWeights(const LoadCases& cases) {
    std::vector<double> weights;
    for (const ForecastStep& step : cases.steps) weights.push_back(step.weight);
    return weights;
}

// Solves every case by `solve(tables, loads, days, sums)` and combines them.
template <typename Solve>
CaseIndices solveCases(const ServiceTables& service, const LoadCases& cases, float mttrFactor,
                       Solve solve) {
    CaseIndices result;
    const std::vector<double> weights = stepWeights(cases);
    std::vector<AnnualIndices> steps(weights.size());
    for (int w = 0; w < cases.weatherYears; ++w) {
        for (int s = 0; s < cases.stepCount(); ++s) {
            IndexSums sums;
            for (int set = 0; set < service.count(); ++set)
                solve(service.tables[static_cast<std::size_t>(set)], cases.at(w, s),
                      daysOf(service, set), sums);
            steps[static_cast<std::size_t>(s)] = finish(sums, mttrFactor);
        }
        result.byWeatherYear.push_back(steps.size() == 1 ? steps.front()
                                                         : weightedIndices(steps, weights));
    }
    result.mean = result.byWeatherYear.size() == 1
                      ? result.byWeatherYear.front()
                      : weightedIndices(result.byWeatherYear, cases.weatherWeights);
    return result;
}

}  // namespace

void buildServiceTables(const UnitTypes& units, const CapacityTables& systemTables,
                        std::span<const MaintenanceWindow> windows, ServiceTables& service) {
    const ServiceSets sets = serviceSets(units, windows);
    service.setOfDay = sets.setOfDay;
    service.tables.assign(static_cast<std::size_t>(sets.count()), systemTables);
    if (windows.empty()) return;
    // The system's own tables have warned already; a smaller set's would
    // repeat the warning of a table significant to its end.
    report::Channel quiet = report::captureChannel("maintenance tables");
    for (int set = 0; set < sets.count(); ++set)
        buildCapacityTables(sets.units[static_cast<std::size_t>(set)],
                            service.tables[static_cast<std::size_t>(set)], quiet);
}

AnnualIndices weightedIndices(std::span<const AnnualIndices> indices,
                              std::span<const double> weights) {
    AnnualIndices sum;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const AnnualIndices& x = indices[i];
        const double w = weights[i];
        sum.lolh += w * x.lolh;
        sum.lole += w * x.lole;
        sum.allr += w * x.allr;
        sum.alolp += w * x.alolp;
        sum.mwhEue += w * x.mwhEue;
        sum.mwhTotal += w * x.mwhTotal;
    }
    sum.puEueppm = sum.mwhEue / sum.mwhTotal * 1000000.0;
    return sum;
}

CaseIndices solveSingleAreaCases(const ServiceTables& service, const LoadCases& cases,
                                 float mttrFactor) {
    return solveCases(service, cases, mttrFactor,
                      [](const CapacityTables& tables, const HourlyLoads& loads, DayFilter days,
                         IndexSums& sums) { addSingleArea(tables, loads, days, {}, sums); });
}

CaseIndices solveTwoAreaCases(ReceivingArea area, const ServiceTables& service,
                              const LoadCases& cases, const AtcTable& atc, float mttrFactor) {
    return solveCases(
        service, cases, mttrFactor,
        [area, &atc](const CapacityTables& tables, const HourlyLoads& loads, DayFilter days,
                     IndexSums& sums) { addTwoArea(area, tables, loads, atc, days, sums); });
}

std::optional<Area1AsSimulatedSets> Area1AsSimulatedSets::prepare(const ServiceTables& service,
                                                                  const AtcTable& atc) {
    Area1AsSimulatedSets sets;
    sets.service_ = &service;
    for (const CapacityTables& tables : service.tables) {
        auto solver = Area1AsSimulatedSolver::prepare(tables, atc);
        if (!solver) return std::nullopt;
        sets.solvers_.push_back(std::move(*solver));
    }
    return sets;
}

Area1AsSimulated Area1AsSimulatedSets::solve(const HourlyLoads& loads,
                                             const Area1LoadChange& change) const {
    if (solvers_.size() == 1) return solvers_.front().solve(loads, change);
    Area1AsSimulated sum;
    for (std::size_t set = 0; set < solvers_.size(); ++set) {
        const Area1AsSimulated part =
            solvers_[set].solve(loads, change, daysOf(*service_, static_cast<int>(set)));
        sum.lolh += part.lolh;
        sum.lole += part.lole;
        sum.mwhEue += part.mwhEue;
        sum.mwhTotal += part.mwhTotal;
    }
    sum.puEueppm = sum.mwhEue / sum.mwhTotal * 1000000.0;
    return sum;
}

namespace {

void addWeighted(Area1AsSimulated& sum, double weight, const Area1AsSimulated& one) {
    sum.lolh += weight * one.lolh;
    sum.lole += weight * one.lole;
    sum.mwhEue += weight * one.mwhEue;
    sum.mwhTotal += weight * one.mwhTotal;
    sum.puEueppm = sum.mwhEue / sum.mwhTotal * 1000000.0;
}

}  // namespace

std::optional<Area1AsSimulatedCases> solveArea1AsSimulatedCases(const ServiceTables& service,
                                                                const LoadCases& cases,
                                                                const AtcTable& atc) {
    const auto sets = Area1AsSimulatedSets::prepare(service, atc);
    if (!sets) return std::nullopt;
    Area1AsSimulatedCases result;
    for (int w = 0; w < cases.weatherYears; ++w) {
        Area1AsSimulated year;
        for (int s = 0; s < cases.stepCount(); ++s)
            addWeighted(year, cases.steps[static_cast<std::size_t>(s)].weight,
                        sets->solve(cases.at(w, s)));
        addWeighted(result.mean, cases.weatherWeights[static_cast<std::size_t>(w)], year);
        result.byWeatherYear.push_back(year);
    }
    return result;
}

}  // namespace adequacy
