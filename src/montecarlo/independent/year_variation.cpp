#include "montecarlo/independent/year_variation.hpp"

#include <algorithm>
#include <limits>

#include "montecarlo/independent/philox_draws.hpp"

namespace adequacy::independent {
namespace {

// A NaN load is never short itself but must not hide its stretch (see
// LoadPeaks): it stays the largest load whatever the other steps hold.
float largerLoad(float a, float b) {
    if (a != a || b != b) return std::numeric_limits<float>::infinity();
    return std::max(a, b);
}

// The hourly maximum over the steps: a step's scale grows with k, so this is
// the highest step's loads as long as no load is negative; taking the
// maximum keeps the stretch tests sound whatever the loads.
std::vector<float> largestOverSteps(const LoadCases& cases, int weatherYear, bool area1) {
    std::vector<float> largest(hoursPerYear, -std::numeric_limits<float>::infinity());
    for (int s = 0; s < cases.stepCount(); ++s) {
        const HourlyLoads& loads = cases.at(weatherYear, s);
        const auto& hours = area1 ? loads.area1 : loads.total;
        for (std::size_t h = 0; h < largest.size(); ++h)
            largest[h] = largerLoad(largest[h], hours[h]);
    }
    return largest;
}

std::vector<MaintenanceChange> maintenanceChanges(std::span<const MaintenanceWindow> windows) {
    std::vector<MaintenanceChange> changes;
    for (const MaintenanceWindow& window : windows) {
        changes.push_back({(window.firstDay - 1) * hoursPerDay, window.unit, true});
        const int back = window.lastDay * hoursPerDay;
        if (back < hoursPerYear) changes.push_back({back, window.unit, false});
    }
    // A unit back at the hour its next window starts leaves again after.
    std::stable_sort(changes.begin(), changes.end(),
                     [](const MaintenanceChange& a, const MaintenanceChange& b) {
                         return a.hour != b.hour ? a.hour < b.hour : !a.leaves && b.leaves;
                     });
    return changes;
}

}  // namespace

YearVariation::YearVariation(const LoadCases& cases, std::span<const MaintenanceWindow> maintenance,
                             bool weatherInTurn)
    : cases_(cases), inTurn_(weatherInTurn), changes_(maintenanceChanges(maintenance)) {
    double sum = 0.0;
    for (double weight : cases.weatherWeights) cumulativeWeights_.push_back(sum += weight);
    for (int w = 0; w < cases.weatherYears; ++w) {
        const std::vector<float> total = largestOverSteps(cases, w, false);
        const std::vector<float> area1 = largestOverSteps(cases, w, true);
        totalPeaks_.emplace_back(total);
        area1Peaks_.emplace_back(area1);
        totalPeak_.push_back(*std::max_element(total.begin(), total.end()));
        area1Peak_.push_back(*std::max_element(area1.begin(), area1.end()));
    }
}

int YearVariation::weatherYearOf(std::uint32_t seed, std::uint64_t year) const {
    const auto years = static_cast<std::uint64_t>(cases_.weatherYears);
    if (inTurn_ || years == 1) return static_cast<int>(year % years);
    ComponentDraws draws(seed, year, weatherComponent);
    const double r = 1.0 - draws.uniform();  // on [0, 1)
    for (std::size_t w = 0; w < cumulativeWeights_.size(); ++w)
        if (r < cumulativeWeights_[w]) return static_cast<int>(w);
    return cases_.weatherYears - 1;  // rounding short of 1
}

StepLoads YearVariation::loadsOf(int weatherYear) const {
    StepLoads loads;
    loads.count = cases_.stepCount();
    for (int s = 0; s < loads.count; ++s)
        loads.steps[static_cast<std::size_t>(s)] = &cases_.at(weatherYear, s);
    const auto w = static_cast<std::size_t>(weatherYear);
    loads.totalPeaks = &totalPeaks_[w];
    loads.area1Peaks = &area1Peaks_[w];
    loads.totalPeak = totalPeak_[w];
    loads.area1Peak = area1Peak_[w];
    return loads;
}

}  // namespace adequacy::independent
