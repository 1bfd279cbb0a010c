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

void resetPeaks(HourlyLoads& loads) {
    loads.totalPeak = 0.0f;
    loads.area1Peak = 0.0f;
    loads.area0Peak = 0.0f;
}

void updatePeaks(float total, float area1, HourlyLoads& loads) {
    if (total > loads.totalPeak) loads.totalPeak = total;
    if (area1 > loads.area1Peak) loads.area1Peak = area1;
    float area0 = static_cast<float>(static_cast<double>(total) - area1);
    if (area0 > loads.area0Peak) loads.area0Peak = area0;
}

// The first of the hours h = 1..24 with the largest value(h); a NaN is
// never the largest.
template <typename Value>
int firstPeakHour(Value value) {
    int peak = 1;
    for (int hour = 2; hour <= hoursPerDay; ++hour)
        if (value(hour) > value(peak)) peak = hour;
    return peak;
}

}  // namespace

std::array<float, hoursPerDay> builtInLoadShape() { return hourlyLoadProfile; }

void computeHourlyLoads(const LoadParameters& parameters, const LoadShape& shape,
                        HourlyLoads& loads) {
    resetPeaks(loads);
    for (int day = 1; day <= daysPerYear; ++day) {
        SeasonScale scale = seasonScale(parameters, day);
        for (int hour = 1; hour <= hoursPerDay; ++hour) {
            float u = shape[static_cast<std::size_t>(hour - 1)];
            float total = static_cast<float>(wholeMw(u, scale.total) + parameters.d[3]);
            float area1 = static_cast<float>(wholeMw(u, scale.area1));
            auto index = static_cast<std::size_t>(hourIndex(day, hour));
            loads.total[index] = total;
            loads.area1[index] = area1;
            updatePeaks(total, area1, loads);
        }
    }
    const int peakHour =
        firstPeakHour([&](int hour) { return shape[static_cast<std::size_t>(hour - 1)]; });
    loads.totalPeakHour.fill(peakHour);
    loads.area1PeakHour.fill(peakHour);
    loads.area0PeakHour.fill(peakHour);
}

void computeHourlyLoads(const LoadParameters& parameters, HourlyLoads& loads) {
    computeHourlyLoads(parameters, hourlyLoadProfile, loads);
}

void setHourlyLoads(std::span<const float> total, std::span<const float> area1,
                    HourlyLoads& loads) {
    resetPeaks(loads);
    for (std::size_t i = 0; i < static_cast<std::size_t>(hoursPerYear); ++i) {
        loads.total[i] = total[i];
        loads.area1[i] = area1[i];
        updatePeaks(total[i], area1[i], loads);
    }
    for (int day = 1; day <= daysPerYear; ++day) {
        auto at = [day](int hour) { return static_cast<std::size_t>(hourIndex(day, hour)); };
        auto d = static_cast<std::size_t>(day - 1);
        loads.totalPeakHour[d] = firstPeakHour([&](int h) { return loads.total[at(h)]; });
        loads.area1PeakHour[d] = firstPeakHour([&](int h) { return loads.area1[at(h)]; });
        loads.area0PeakHour[d] = firstPeakHour(
            [&](int h) { return wholeArea0Load(loads.total[at(h)], loads.area1[at(h)]); });
    }
}

}  // namespace adequacy
