#pragma once
// What a year of a varying system takes beyond the units and the tie: its
// weather year, drawn or in turn, the net loads of that weather year at
// every step of the load forecast, and the hours at which units go out for
// maintenance and come back. Built once a run; every year reads it.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "model/load_cases.hpp"
#include "model/variation.hpp"
#include "montecarlo/independent/load_peaks.hpp"

namespace adequacy::independent {

// The weather draw's component number: apart from every unit's stream and
// from the tie's, so that drawing weather years shifts no other draw.
inline constexpr std::uint32_t weatherComponent = 0xfffffffeu;

// A unit leaving service for maintenance, or coming back, at an hour's start.
struct MaintenanceChange {
    int hour;
    int unit;
    bool leaves;
};

// The loads a year is tested against: one per forecast step, and the
// stretch maxima of the largest of them hour by hour.
struct StepLoads {
    std::array<const HourlyLoads*, maxForecastSteps> steps{};
    int count = 1;
    const LoadPeaks* totalPeaks = nullptr;
    const LoadPeaks* area1Peaks = nullptr;
    float totalPeak = 0.0f;
    float area1Peak = 0.0f;
};

class YearVariation {
  public:
    YearVariation(const LoadCases& cases, std::span<const MaintenanceWindow> maintenance,
                  bool weatherInTurn);

    // The weather year (0-based) of year `year` counted from 0 over all runs.
    int weatherYearOf(std::uint32_t seed, std::uint64_t year) const;
    StepLoads loadsOf(int weatherYear) const;
    // In hour order; at one hour, returns before departures.
    const std::vector<MaintenanceChange>& maintenance() const { return changes_; }
    const LoadCases& cases() const { return cases_; }

  private:
    const LoadCases& cases_;
    bool inTurn_;
    std::vector<double> cumulativeWeights_;
    std::vector<LoadPeaks> totalPeaks_;  // weather year by weather year
    std::vector<LoadPeaks> area1Peaks_;
    std::vector<float> totalPeak_;
    std::vector<float> area1Peak_;
    std::vector<MaintenanceChange> changes_;
};

}  // namespace adequacy::independent
