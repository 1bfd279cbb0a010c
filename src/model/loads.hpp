#pragma once
// The load model: seven parameters and a 24-hour shape give a year of hourly
// loads for the whole system and for area 1.

#include <array>
#include <cmath>
#include <span>

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

// Each day's peak hour (1..24), for the whole system and for each area:
// where a daily index takes one hour of the day, it takes this one.
using DailyPeakHours = std::array<int, daysPerYear>;

constexpr DailyPeakHours everyDayAt(int hour) {
    DailyPeakHours hours{};
    hours.fill(hour);
    return hours;
}

// The peak hour of the built-in load shape.
inline constexpr int shapePeakHour = 12;

struct HourlyLoads {
    std::array<float, hoursPerYear> total;
    std::array<float, hoursPerYear> area1;
    float totalPeak;
    float area1Peak;
    float area0Peak;
    // Until the loads are computed or set: the built-in shape's.
    DailyPeakHours totalPeakHour = everyDayAt(shapePeakHour);
    DailyPeakHours area1PeakHour = everyDayAt(shapePeakHour);
    DailyPeakHours area0PeakHour = everyDayAt(shapePeakHour);
};

// The area-0 load of an hour as the area-0 solution receives it: the
// difference cut to whole MW, a hair below a whole number kept from losing
// a megawatt.
inline float wholeArea0Load(float total, float area1) {
    constexpr float loadNudge = 0.001f;
    return static_cast<float>(
        std::trunc(static_cast<double>(total) - area1 + static_cast<double>(loadNudge)));
}

// The per-unit load of each hour of the day, the same for every day.
std::array<float, hoursPerDay> builtInLoadShape();

using LoadShape = std::array<float, hoursPerDay>;

// The loads of the model: every day follows the shape, so every day's peak
// hour, for the system and both areas, is the first hour of the shape's
// largest value (hour 12 of the built-in shape).
void computeHourlyLoads(const LoadParameters& parameters, const LoadShape& shape,
                        HourlyLoads& loads);
void computeHourlyLoads(const LoadParameters& parameters, HourlyLoads& loads);  // built-in shape

// A chronological year of loads given hour by hour (hoursPerYear values
// each): the peaks, and each day's peak hour as the first hour of that day
// with the day's largest load of the system or of the area.
void setHourlyLoads(std::span<const float> total, std::span<const float> area1, HourlyLoads& loads);

}  // namespace adequacy
