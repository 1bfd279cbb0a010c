// The independent engine's figures from the years' own values.
#include <algorithm>
#include <cmath>
#include <vector>

#include "results/recorder.hpp"

namespace adequacy::results {
namespace {

// The value that `share` of the years do not exceed (nearest rank) in the
// sorted values.
double percentile(const std::vector<float>& sorted, double share) {
    const auto n = static_cast<double>(sorted.size());
    const auto rank = static_cast<std::size_t>(std::max(1.0, std::ceil(share * n)));
    return sorted[rank - 1];
}

AnnualDistribution distribution(const std::vector<float>& values, int years) {
    std::vector<float> sorted(values.begin(), values.begin() + years);
    std::sort(sorted.begin(), sorted.end());
    AnnualDistribution d;
    double sum = 0.0;
    for (float v : sorted) sum += v;
    d.mean = sum / years;
    d.p50 = percentile(sorted, 0.50);
    d.p90 = percentile(sorted, 0.90);
    d.p95 = percentile(sorted, 0.95);
    d.p99 = percentile(sorted, 0.99);
    const auto worst = static_cast<std::size_t>(std::max(1.0, std::ceil(0.05 * years)));
    double worstSum = 0.0;
    for (std::size_t i = sorted.size() - worst; i < sorted.size(); ++i) worstSum += sorted[i];
    d.worst5Mean = worstSum / static_cast<double>(worst);
    return d;
}

IndependentArea area(const independent::AreaYears& a, int years) {
    IndependentArea result;
    result.lolh = distribution(a.lolHours, years);
    result.mwhEue = distribution(a.unservedMwh, years);
    const double n = years;
    result.eventsPerYear = a.events / n;
    double hours = 0.0;
    double mwh = 0.0;
    for (int y = 0; y < years; ++y) {
        hours += a.lolHours[static_cast<std::size_t>(y)];
        mwh += a.unservedMwh[static_cast<std::size_t>(y)];
    }
    result.meanEventHours = a.events > 0.0 ? hours / a.events : 0.0;
    result.meanEventMwh = a.events > 0.0 ? mwh / a.events : 0.0;
    const double mean = a.peakHourDays / n;
    const double variance = years > 1 ? (a.peakHourDaysSquared - n * mean * mean) / (n - 1.0) : NAN;
    result.lolePeakHour = {mean, std::nullopt, std::sqrt(std::max(variance, 0.0) / n)};
    return result;
}

}  // namespace

void recordIndependentYears(Recorder& recorder, const independent::RunYears& runYears, int years) {
    if (!recorder.results.monteCarlo) return;
    recorder.results.monteCarlo->independent =
        IndependentFigures{area(runYears.system, years), area(runYears.area1, years)};
}

}  // namespace adequacy::results
