#include "model/load_check.hpp"

#include <charconv>
#include <cmath>

namespace adequacy {
namespace {

std::string mw(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end) + " MW";
}

std::string hourFault(float total, float area1) {
    if (!std::isfinite(total) || !std::isfinite(area1)) return "a load beyond single precision";
    if (total < 0.0f) return "a whole-system load of " + mw(total) + ", below 0";
    if (area1 < 0.0f) return "an area-1 load of " + mw(area1) + ", below 0";
    if (area1 > total)
        return "an area-1 load of " + mw(area1) + ", above the whole system's " + mw(total) +
               ", which includes it";
    return "";
}

}  // namespace

std::string loadFault(const HourlyLoads& loads) {
    for (int day = 1; day <= daysPerYear; ++day) {
        for (int hour = 1; hour <= hoursPerDay; ++hour) {
            const auto i = static_cast<std::size_t>(hourIndex(day, hour));
            const std::string fault = hourFault(loads.total[i], loads.area1[i]);
            if (!fault.empty())
                return "day " + std::to_string(day) + " hour " + std::to_string(hour) + ": " +
                       fault;
        }
    }
    return "";
}

}  // namespace adequacy
