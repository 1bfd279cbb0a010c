#pragma once
// The largest system a file may describe. Far above any real interconnection,
// yet small enough that every count, capacity and table index fits an int and
// that no table sized from the file can exhaust memory.

namespace adequacy::system {

inline constexpr int maxUnitTypes = 10'000;
inline constexpr int maxUnits = 100'000;
// Installed capacity of the whole system, and the bound on every MW figure
// (loads, ATC rows), in MW.
inline constexpr int maxMw = 10'000'000;
inline constexpr int maxAtcRows = 10;
// Per-unit values of the daily load shape.
inline constexpr double maxShapeValue = 100.0;
// Repair times in days. The shortest is an hour, the simulation's step (see
// the system reader).
inline constexpr double maxMttrDays = 1e6;
// A system file is a few kilobytes and a year of hourly loads a few hundred;
// anything this large is not one.
inline constexpr long maxSystemFileBytes = 16L << 20;
inline constexpr long maxHourlyFileBytes = 64L << 20;
// Weather years an hourly file may hold, and forecast steps.
inline constexpr int maxWeatherYears = 100;

}  // namespace adequacy::system
