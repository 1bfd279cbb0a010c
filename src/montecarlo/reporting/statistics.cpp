#include "montecarlo/reporting/statistics.hpp"

#include "model/numeric.hpp"

namespace adequacy {

double squaredRelativeDeviation(double value, double estimate) {
    const double relative = (value - estimate) / estimate;
    return relative * relative;
}

int sdPercent(double sumOfSquares, int n) {
    // The divisor n - 1 is formed in single precision.
    const float degreesOfFreedom = static_cast<float>(n - 1);
    const double variance = sumOfSquares / degreesOfFreedom;
    if (std::isnan(variance)) return unknownSdPercent;
    return truncateToInt(100.0 * std::sqrt(variance) + 0.5);
}

}  // namespace adequacy
