#pragma once
// The generating system under study: ten unit types in eleven identical
// blocks. Block 1 is area 1, blocks 2..11 are area 0.

#include <array>

namespace adequacy {

inline constexpr int unitTypeCount = 10;
inline constexpr int blockCount = 11;
inline constexpr int unitCount = unitTypeCount * blockCount;  // 110
inline constexpr int area1UnitCount = unitTypeCount;          // block 1
inline constexpr int tableTop = 3000;
inline constexpr int daysPerYear = 365;
inline constexpr int hoursPerDay = 24;
inline constexpr int hoursPerYear = daysPerYear * hoursPerDay;  // 8760

struct UnitTypes {
    std::array<int, unitTypeCount> pmax;
    std::array<int, unitTypeCount> deratedMw;
    std::array<float, unitTypeCount> forcedOutageRate;
    std::array<float, unitTypeCount> deratedProbability;
    std::array<float, unitTypeCount> mttrDays;
};

// Unit number k (1-based) = 10 * (block - 1) + type; its type index (0-based).
constexpr int typeOfUnit(int unitIndex0) { return unitIndex0 % unitTypeCount; }

constexpr UnitTypes builtInUnitTypes() {
    return UnitTypes{
        {5, 10, 13, 22, 43, 57, 101, 198, 248, 276},
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {0.15f, 0.10f, 0.09f, 0.07f, 0.06f, 0.05f, 0.04f, 0.04f, 0.04f, 0.04f},
        {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
        {5.0f, 5.0f, 5.0f, 7.0f, 7.0f, 14.0f, 21.0f, 28.0f, 28.0f, 42.0f},
    };
}

}  // namespace adequacy
