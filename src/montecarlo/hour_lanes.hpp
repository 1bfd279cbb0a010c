#pragma once
// An hour seen as lanes of draws: lane u < 110 is the draw of unit u + 1, lane
// 110 the draw of the tie, lane 111 pads the hour to whole vectors and never
// fires. Lane j draws at position j + 1 + shift after the hour's first seed,
// where shift counts the second draws taken earlier in the hour. A lane fires
// when its draw changes its unit or tie, or takes a second draw: an hour in
// which no lane fires changes nothing but the seed, by 111 draws.

#include <array>
#include <cstdint>

#include "model/system_data.hpp"
#include "montecarlo/lane_mask.hpp"
#include "montecarlo/loss_scan.hpp"

namespace adequacy {

inline constexpr int tieLane = unitCount;
inline constexpr int hourDraws = unitCount + 1;  // draws of an hour without events
inline constexpr int hourLanes = 112;

// Per lane, the number of 24-bit draws k that fire it in its current state:
// the lane fires when k < draws (see draw_threshold.hpp).
struct alignas(64) LaneThresholds {
    std::array<std::int32_t, hourLanes> draws;
};

// The lanes that fire in the hour starting from `hourSeed`, every lane
// shifted by `shift` positions (0 <= shift <= 111).
using HourCheck = LaneMask (*)(const LaneThresholds& thresholds, std::uint32_t hourSeed, int shift);

// A run of hours in which no lane fires, the seed that starts the hour after
// it and, if the run ended before its limit, the lanes that fire in that hour.
struct QuietRun {
    int hours;
    std::uint32_t seed;
    LaneMask fired;
};

// Counts the hours from `hourSeed` on, at most `limit`, in which no lane
// fires; the run ends before the first hour in which one does.
using QuietScan = QuietRun (*)(const LaneThresholds& thresholds, std::uint32_t hourSeed, int limit);

// The checks of one instruction set; every set gives the same results.
struct HourChecks {
    HourCheck check;
    QuietScan scan;
    LossScan losses;
};

HourChecks scalarHourChecks();
HourChecks avx2HourChecks();    // only where avx2Available()
HourChecks avx512HourChecks();  // only where avx512Available()

// Whether this processor (and its operating system) runs the vector checks.
bool avx2Available();
bool avx512Available();

// The fastest checks this processor runs, chosen at run time.
HourChecks fastestHourChecks();

}  // namespace adequacy
