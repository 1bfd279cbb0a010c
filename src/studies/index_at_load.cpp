#include "studies/index_at_load.hpp"

#include "direct/single_area.hpp"

namespace adequacy::studies {

WholeSystemIndices::WholeSystemIndices(const StudyCases& study)
    : study_(study), changed_(std::make_unique<HourlyLoads>(study.cases.loads.front())) {
    for (const CapacityTables& tables : study.service.tables) tails_.push_back(tableTails(tables));
}

StudyFigures WholeSystemIndices::at(const LoadChange& change, double perfectMw) {
    const LinearLoad load = linearLoad(change, study_.totalPeakMw);
    const ServiceTables& service = study_.service;
    StudyFigures sum;
    double demandSum = 0.0;
    for (int w = 0; w < study_.cases.weatherYears; ++w) {
        for (int s = 0; s < study_.cases.stepCount(); ++s) {
            const HourlyLoads& loads = study_.cases.at(w, s);
            double demand = 0.0;
            for (std::size_t i = 0; i < loads.total.size(); ++i) {
                const double hour = loads.total[i] * load.scale + load.added;
                changed_->total[i] = static_cast<float>(hour - perfectMw);
                demand += hour;
            }
            // Adding to every hour or scaling keeps each day's peak hour
            // where it was: the case's own.
            changed_->totalPeakHour = loads.totalPeakHour;
            IndexSums sums;
            for (int set = 0; set < service.count(); ++set)
                addSingleArea(service.tables[static_cast<std::size_t>(set)], *changed_,
                              service.count() == 1 ? DayFilter{} : DayFilter{service.setOfDay, set},
                              tails_[static_cast<std::size_t>(set)], sums);
            const AnnualIndices indices = finish(sums, study_.mttrFactor);
            const double weight = study_.weight(w, s);
            sum.lole += weight * indices.lole;
            sum.lolh += weight * indices.lolh;
            sum.mwhEue += weight * indices.mwhEue;
            demandSum += weight * demand;
        }
    }
    sum.eueppm = partsPerMillion(sum.mwhEue, demandSum);
    return sum;
}

std::optional<Area1Indices> Area1Indices::make(const StudyCases& study, const AtcTable& atc) {
    auto solver = Area1AsSimulatedSets::prepare(study.service, atc);
    if (!solver) return std::nullopt;
    return Area1Indices(std::move(*solver), study);
}

StudyFigures Area1Indices::at(const LoadChange& change) const {
    const LinearLoad load = linearLoad(change, study_->area1PeakMw);
    StudyFigures sum;
    double demand = 0.0;
    for (int w = 0; w < study_->cases.weatherYears; ++w) {
        for (int s = 0; s < study_->cases.stepCount(); ++s) {
            const Area1AsSimulated a =
                solver_.solve(study_->cases.at(w, s), {load.scale, load.added});
            const double weight = study_->weight(w, s);
            sum.lole += weight * a.lole;
            sum.lolh += weight * a.lolh;
            sum.mwhEue += weight * a.mwhEue;
            demand += weight * a.mwhTotal;
        }
    }
    sum.eueppm = partsPerMillion(sum.mwhEue, demand);
    return sum;
}

}  // namespace adequacy::studies
