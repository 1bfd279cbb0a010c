// The independent engine's figures from the years' own values.
#include <algorithm>
#include <cmath>
#include <vector>

#include "montecarlo/independent/year_steps.hpp"
#include "results/recorder.hpp"
#include "results/variation_figures.hpp"

namespace adequacy::results {
namespace {

using independent::AreaYearFigures;
using independent::YearFigures;

// The value that `share` of the years do not exceed (nearest rank) in the
// sorted values.
double percentile(const std::vector<double>& sorted, double share) {
    const auto n = static_cast<double>(sorted.size());
    const auto rank = static_cast<std::size_t>(std::max(1.0, std::ceil(share * n)));
    return sorted[rank - 1];
}

AnnualDistribution distribution(std::vector<double>& values) {
    std::sort(values.begin(), values.end());
    AnnualDistribution d;
    double sum = 0.0;
    for (double v : values) sum += v;
    const auto n = static_cast<double>(values.size());
    d.mean = sum / n;
    d.p50 = percentile(values, 0.50);
    d.p90 = percentile(values, 0.90);
    d.p95 = percentile(values, 0.95);
    d.p99 = percentile(values, 0.99);
    const auto worst = static_cast<std::size_t>(std::max(1.0, std::ceil(0.05 * n)));
    double worstSum = 0.0;
    for (std::size_t i = values.size() - worst; i < values.size(); ++i) worstSum += values[i];
    d.worst5Mean = worstSum / static_cast<double>(worst);
    return d;
}

// Each year's values weighted over its forecast steps (a single step's as
// they are), summed in year order.
IndependentArea area(const independent::RunYears& run, AreaYearFigures YearFigures::*side) {
    std::vector<double> hours;
    std::vector<double> mwh;
    double events = 0.0;
    RunningSpread peakDays;
    const std::size_t years = run.yearCount();
    for (std::size_t y = 0; y < years; ++y) {
        auto figure = [&](auto field) {
            return independent::weightedValue(
                run, y, [&](const YearFigures& year) { return field(year.*side); });
        };
        hours.push_back(figure([](const AreaYearFigures& f) { return f.lolHours; }));
        mwh.push_back(figure([](const AreaYearFigures& f) {
            return static_cast<double>(f.unservedUnits) / independent::unitsPerMwh;
        }));
        events += figure([](const AreaYearFigures& f) { return f.events; });
        addValue(peakDays, figure([](const AreaYearFigures& f) { return f.peakHourDays; }));
    }
    IndependentArea result;
    const auto n = static_cast<double>(years);
    result.eventsPerYear = events / n;
    result.lolh = distribution(hours);
    result.mwhEue = distribution(mwh);
    result.meanEventHours = events > 0.0 ? result.lolh.mean * n / events : 0.0;
    result.meanEventMwh = events > 0.0 ? result.mwhEue.mean * n / events : 0.0;
    const double se = n > 1.0 ? std::sqrt(peakDays.sumOfSquares / (n - 1.0) / n) : std::nan("");
    result.lolePeakHour = {peakDays.mean, std::nullopt, se};
    return result;
}

}  // namespace

void recordIndependentYears(Recorder& recorder, const independent::RunYears& runYears) {
    if (!recorder.results.monteCarlo || runYears.years.empty()) return;
    recorder.results.monteCarlo->independent = IndependentFigures{
        area(runYears, &YearFigures::system), area(runYears, &YearFigures::area1)};
    if (runYears.cases.varying())
        recorder.results.monteCarlo->variation = variationFigures(runYears);
    recorder.results.monteCarlo->years = runYears;
}

}  // namespace adequacy::results
