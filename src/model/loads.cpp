#include "model/loads.hpp"

#include "model/numeric.hpp"

namespace adequacy {
namespace {

constexpr std::array<float, hoursPerDay> hourlyLoadProfile{
    0.56f, 0.60f, 0.64f, 0.68f, 0.72f, 0.76f, 0.80f, 0.84f, 0.88f, 0.92f, 0.96f, 1.00f,
    1.00f, 0.96f, 0.92f, 0.88f, 0.84f, 0.80f, 0.76f, 0.72f, 0.68f, 0.64f, 0.60f, 0.56f};

// Keeps products a hair below a whole number from losing a megawatt.
constexpr float wholeMwNudge = 0.01f;

struct SeasonScale {
    float total;
    float area1;
};

SeasonScale seasonScale(const LoadParameters& p, int day) {
    if (day <= 10) return {p.d[1], p.d[5]};                 // winter
    if (day >= 201 && day <= 214) return {p.d[2], p.d[6]};  // summer
    return {p.d[0], p.d[4]};                                // off-peak
}

// The whole MW of a shape value times a scale, cut toward zero.
double wholeMw(float shape, float scale) {
    return std::trunc(static_cast<double>(shape) * static_cast<double>(scale) +
                      static_cast<double>(wholeMwNudge));
}

}  // namespace

std::array<float, hoursPerDay> builtInLoadShape() { return hourlyLoadProfile; }

void computeHourlyLoads(const LoadParameters& parameters, HourlyLoads& loads) {
    loads.totalPeak = 0.0f;
    loads.area1Peak = 0.0f;
    loads.area0Peak = 0.0f;
    for (int day = 1; day <= daysPerYear; ++day) {
        SeasonScale scale = seasonScale(parameters, day);
        for (int hour = 1; hour <= hoursPerDay; ++hour) {
            float shape = hourlyLoadProfile[static_cast<std::size_t>(hour - 1)];
            float total = static_cast<float>(wholeMw(shape, scale.total) + parameters.d[3]);
            float area1 = static_cast<float>(wholeMw(shape, scale.area1));
            auto index = static_cast<std::size_t>(hourIndex(day, hour));
            loads.total[index] = total;
            loads.area1[index] = area1;
            if (total > loads.totalPeak) loads.totalPeak = total;
            if (area1 > loads.area1Peak) loads.area1Peak = area1;
            float area0 = static_cast<float>(static_cast<double>(total) - area1);
            if (area0 > loads.area0Peak) loads.area0Peak = area0;
        }
    }
}

}  // namespace adequacy
