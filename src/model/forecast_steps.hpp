#pragma once
// The load forecast's uncertainty as a few scaled copies of the loads, each
// with its probability: the steps of a normal distribution cut into
// intervals one standard deviation wide, centred on k = -(n-1)/2 ... (n-1)/2,
// the two end steps taking the tails. Seven steps give the familiar weights
// 0.0062, 0.0606, 0.2417, 0.3829, 0.2417, 0.0606, 0.0062 at -3 ... +3 sd;
// two steps give 1/2 at -1/2 and +1/2 sd.

#include <vector>

#include "model/variation.hpp"

namespace adequacy {

struct ForecastStep {
    double k = 0.0;       // standard deviations from the forecast
    double scale = 1.0;   // 1 + k * sdPercent / 100
    double weight = 1.0;  // the steps' weights add up to 1
};

inline constexpr int maxForecastSteps = 15;

// One step of scale 1 when there is no uncertainty: a standard deviation of
// 0, or a single step.
std::vector<ForecastStep> forecastSteps(const ForecastUncertainty& uncertainty);

}  // namespace adequacy
