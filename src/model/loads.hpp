#pragma once
// The load model: seven parameters and a 24-hour shape give a year of hourly
// loads for the whole system and for area 1.

#include <array>

#include "model/system_data.hpp"

namespace adequacy {

// D1..D7 in MW: total off-peak, winter, summer, added; area-1 off-peak,
// winter, summer.
struct LoadParameters {
    std::array<float, 7> d;
};

constexpr LoadParameters builtInLoadParameters() {
    return LoadParameters{{2000.0f, 8000.0f, 7000.0f, 1424.0f, 300.0f, 700.0f, 846.0f}};
}

// Index of hour h (1..24) of day d (1..365): day by day, 24 hours each.
constexpr int hourIndex(int day, int hour) { return (day - 1) * hoursPerDay + (hour - 1); }

struct HourlyLoads {
    std::array<float, hoursPerYear> total;
    std::array<float, hoursPerYear> area1;
    float totalPeak;
    float area1Peak;
    float area0Peak;
};

// The per-unit load of each hour of the day, the same for every day.
std::array<float, hoursPerDay> builtInLoadShape();

void computeHourlyLoads(const LoadParameters& parameters, HourlyLoads& loads);

}  // namespace adequacy
