#include "studies/simulated_years.hpp"

#include <algorithm>
#include <memory>

#include "direct/annual_indices.hpp"
#include "montecarlo/independent/block_pool.hpp"
#include "montecarlo/independent/year_variation.hpp"
#include "montecarlo/loss_of_load.hpp"

namespace adequacy::studies {
namespace {

using independent::LoadReach;

const float& areaLoad(const HourlyLoads& loads, bool area1, std::size_t h) {
    return area1 ? loads.area1[h] : loads.total[h];
}

// A case's energy demand at the changed loads.
double demandMwh(const HourlyLoads& loads, bool area1, const LinearLoad& load) {
    double sum = 0.0;
    for (std::size_t h = 0; h < hoursPerYear; ++h)
        sum += areaLoad(loads, area1, h) * load.scale + load.added;
    return sum;
}

// The demand of the ppm, every case weighted as the direct study weights
// it: the years' weather is drawn, but the demand is not theirs to vary.
double demandMwh(const LoadCases& cases, bool area1, const LinearLoad& load) {
    double sum = 0.0;
    for (int w = 0; w < cases.weatherYears; ++w)
        for (int s = 0; s < cases.stepCount(); ++s)
            sum += cases.weatherWeights[static_cast<std::size_t>(w)] *
                   cases.steps[static_cast<std::size_t>(s)].weight *
                   demandMwh(cases.at(w, s), area1, load);
    return sum;
}

// A plain system is simulated on its one year of loads, as it always was.
bool varies(const SimulatedSystem& system) {
    return system.cases.several() || !system.maintenance.empty();
}

void keepNearHours(const independent::YearOutcome& outcome, int year, SimulatedYears& simulated) {
    const auto weatherYear = static_cast<std::uint8_t>(outcome.weatherYear);
    for (const independent::LossHour& loss : outcome.losses)
        simulated.hours.push_back(
            {year, loss.hour, loss.systemAvailable, loss.area1Available, weatherYear, loss.step});
}

}  // namespace

SimulatedYears simulateYears(const SimulatedSystem& system, const LinearLoad& systemReach,
                             const LinearLoad& area1Reach, const SimulationRequest& request) {
    const independent::Chains chains = independent::buildChains(system.units, system.atc);
    const auto model = std::make_unique<independent::YearModel>(
        chains, system.cases.loads.front(), LoadReach{systemReach.scale, systemReach.added},
        LoadReach{area1Reach.scale, area1Reach.added});
    std::unique_ptr<independent::YearVariation> variation;
    if (varies(system)) {
        variation =
            std::make_unique<independent::YearVariation>(system.cases, system.maintenance, false);
        model->variation = variation.get();
    }
    SimulatedYears simulated;
    simulated.years = request.years;
    independent::BlockPool pool(
        request.threads, request.years, chains,
        [&](std::uint64_t year, independent::YearWork& work, independent::YearOutcome& outcome) {
            independent::simulateYear(*model, request.seed, year, work, outcome);
        },
        system.cases.stepCount());
    const long long blocks =
        (request.years + independent::blockYears - 1) / independent::blockYears;
    int year = 0;
    for (long long b = 0; b < blocks; ++b) {
        for (const independent::YearOutcome& outcome : pool.take(b).years) {
            if (year == request.years) break;
            keepNearHours(outcome, year, simulated);
            ++year;
        }
        pool.release(b);
    }
    return simulated;
}

SimulatedIndices::SimulatedIndices(const SimulatedYears& simulated, const LoadCases& cases,
                                   bool area1, int installedMw, double peakMw, int firstYear,
                                   int endYear)
    : simulated_(simulated),
      cases_(cases),
      area1_(area1),
      installedMw_(installedMw),
      peakMw_(peakMw) {
    const int end = endYear < 0 ? simulated.years : endYear;
    auto at = [&](int year) {
        return static_cast<std::size_t>(
            std::lower_bound(simulated.hours.begin(), simulated.hours.end(), year,
                             [](const NearHour& h, int y) { return h.year < y; }) -
            simulated.hours.begin());
    };
    first_ = at(firstYear);
    end_ = at(end);
    years_ = end - firstYear;
    firstYear_ = firstYear;
}

template <typename Add>
void SimulatedIndices::forShortHours(const LoadChange& change, Add&& add) const {
    const LinearLoad load = linearLoad(change, peakMw_);
    for (std::size_t i = first_; i < end_; ++i) {
        const NearHour& near = simulated_.hours[i];
        const HourlyLoads& loads = cases_.at(near.weatherYear, near.step);
        const auto h = static_cast<std::size_t>(near.hour);
        const auto changed =
            static_cast<float>(areaLoad(loads, area1_, h) * load.scale + load.added);
        const float available = area1_ ? near.area1Available : near.systemAvailable;
        if (!isLossOfLoad(available, changed)) continue;
        const int year = near.year - firstYear_;
        const double weight = cases_.steps[near.step].weight;
        // Scaling or adding to every hour keeps each day's peak hour where
        // the case has it.
        const DailyPeakHours& peaks = area1_ ? loads.area1PeakHour : loads.totalPeakHour;
        if (isPeakHour(peaks, near.hour / hoursPerDay + 1, near.hour % hoursPerDay + 1))
            add(year, StudyIndex::lole, weight);
        add(year, StudyIndex::lolh, weight);
        add(year, StudyIndex::eue, weight * (static_cast<double>(changed) - available));
    }
}

std::vector<double> SimulatedIndices::yearValues(const LoadChange& change, StudyIndex index) const {
    const double demand = demandMwh(cases_, area1_, linearLoad(change, peakMw_));
    std::vector<double> values(static_cast<std::size_t>(years_), 0.0);
    const StudyIndex summed = index == StudyIndex::ppm ? StudyIndex::eue : index;
    forShortHours(change, [&](int year, StudyIndex i, double value) {
        if (i == summed) values[static_cast<std::size_t>(year)] += value;
    });
    if (index == StudyIndex::ppm)
        for (double& v : values) v = partsPerMillion(v, demand);
    return values;
}

StudyFigures SimulatedIndices::at(const LoadChange& change) const {
    StudyFigures sums;
    forShortHours(change, [&sums](int, StudyIndex i, double value) {
        (i == StudyIndex::lole   ? sums.lole
         : i == StudyIndex::lolh ? sums.lolh
                                 : sums.mwhEue) += value;
    });
    const double n = years_ > 0 ? years_ : 1.0;
    StudyFigures figures{sums.lole / n, sums.lolh / n, sums.mwhEue / n, 0.0};
    figures.eueppm =
        partsPerMillion(figures.mwhEue, demandMwh(cases_, area1_, linearLoad(change, peakMw_)));
    return figures;
}

}  // namespace adequacy::studies
