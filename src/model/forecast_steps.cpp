#include "model/forecast_steps.hpp"

#include <cmath>

namespace adequacy {
namespace {

// The standard normal distribution's probability below x.
double normalBelow(double x) { return 0.5 * std::erfc(-x / std::sqrt(2.0)); }

}  // namespace

std::vector<ForecastStep> forecastSteps(const ForecastUncertainty& uncertainty) {
    const int n = uncertainty.steps;
    if (n <= 1 || uncertainty.sdPercent == 0.0) return {ForecastStep{}};
    std::vector<ForecastStep> steps(static_cast<std::size_t>(n));
    const double centre = (n - 1) / 2.0;
    for (int i = 0; i < n; ++i) {
        ForecastStep& step = steps[static_cast<std::size_t>(i)];
        step.k = i - centre;
        step.scale = 1.0 + step.k * uncertainty.sdPercent / 100.0;
        const double below = i == 0 ? 0.0 : normalBelow(step.k - 0.5);
        const double above = i == n - 1 ? 1.0 : normalBelow(step.k + 0.5);
        step.weight = above - below;
    }
    return steps;
}

}  // namespace adequacy
