#pragma once
// The months of the model's 365-day year: day 1 is the first of January and
// February has 28 days, so every day of the year has one calendar month.

#include <array>
#include <cstdint>

#include "model/system_data.hpp"

namespace adequacy {

inline constexpr int monthsPerYear = 12;
inline constexpr std::array<int, monthsPerYear> daysOfMonth{31, 28, 31, 30, 31, 30,
                                                            31, 31, 30, 31, 30, 31};

// Month (0-based) of each day (0-based) of the year.
inline constexpr std::array<std::uint8_t, daysPerYear> monthOfDayTable = [] {
    std::array<std::uint8_t, daysPerYear> months{};
    int day = 0;
    for (int month = 0; month < monthsPerYear; ++month)
        for (int d = 0; d < daysOfMonth[month]; ++d)
            months[day++] = static_cast<std::uint8_t>(month);
    return months;
}();

// Cells of a month x hour grid: month-major, 24 hours per month.
inline constexpr int monthHourCells = monthsPerYear * hoursPerDay;

// The cell of the hour at `hourIndex` (day by day, 24 hours each, 0-based).
constexpr int monthHourCell(int hourIndex) {
    return monthOfDayTable[static_cast<std::size_t>(hourIndex / hoursPerDay)] * hoursPerDay +
           hourIndex % hoursPerDay;
}

}  // namespace adequacy
