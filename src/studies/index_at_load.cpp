#include "studies/index_at_load.hpp"

#include "direct/single_area.hpp"

namespace adequacy::studies {

WholeSystemIndices::WholeSystemIndices(const CapacityTables& tables, const HourlyLoads& loads,
                                       float mttrFactor)
    : tables_(tables),
      loads_(loads),
      mttrFactor_(mttrFactor),
      tails_(tableTails(tables)),
      changed_(std::make_unique<HourlyLoads>(loads)) {}

StudyFigures WholeSystemIndices::at(const LoadChange& change, double perfectMw) {
    const LinearLoad load = linearLoad(change, loads_.totalPeak);
    double demand = 0.0;
    for (std::size_t i = 0; i < loads_.total.size(); ++i) {
        const double hour = loads_.total[i] * load.scale + load.added;
        changed_->total[i] = static_cast<float>(hour - perfectMw);
        demand += hour;
    }
    // Adding to every hour or scaling keeps each day's peak hour where it
    // was, so the copy's peak hours stand.
    const AnnualIndices indices = computeSingleArea(tables_, *changed_, mttrFactor_, tails_);
    return {indices.lole, indices.lolh, indices.mwhEue, partsPerMillion(indices.mwhEue, demand)};
}

std::optional<Area1Indices> Area1Indices::make(const CapacityTables& tables,
                                               const HourlyLoads& loads, const AtcTable& atc) {
    auto solver = Area1AsSimulatedSolver::prepare(tables, atc);
    if (!solver) return std::nullopt;
    return Area1Indices(std::move(*solver), loads, tables.area1.capacity);
}

StudyFigures Area1Indices::at(const LoadChange& change) const {
    const LinearLoad load = linearLoad(change, loads_->area1Peak);
    const Area1AsSimulated a = solver_.solve(*loads_, {load.scale, load.added});
    return {a.lole, a.lolh, a.mwhEue, partsPerMillion(a.mwhEue, a.mwhTotal)};
}

}  // namespace adequacy::studies
