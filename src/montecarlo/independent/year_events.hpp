#pragma once
// One independent year, event by event: every unit and the tie start from
// their long-run distribution and change state at drawn hours; between two
// changes the capacities stand still, and only a stretch whose largest load
// comes near them is tested hour by hour, by the classic simulation's rules.

#include <cstdint>
#include <utility>
#include <vector>

#include "model/loads.hpp"
#include "montecarlo/independent/chains.hpp"
#include "montecarlo/independent/hour_queue.hpp"
#include "montecarlo/independent/load_peaks.hpp"
#include "montecarlo/independent/year_variation.hpp"

namespace adequacy::independent {

// An hour in which the whole system or area 1 is short, or would be at the
// loads the model reaches to, with what the tests found: the MW available
// to each and the tie's row.
struct LossHour {
    int hour;  // index in the year, 0-based
    int row;
    float systemAvailable;
    float area1Available;
    bool systemShort;
    bool area1Short;
    bool tieLimited;    // area 1 imported the row's full capability
    std::uint8_t step;  // of the load forecast, 0 without one
};

// What a year leaves for the run's totals.
struct YearOutcome {
    // In hour order, an hour's steps in step order; room for a year of
    // hours at every step.
    std::vector<LossHour> losses;
    std::array<int, atcTieStates> tieHours{};
    int changes = 0;           // of units and the tie: the year's events
    int weatherYear = 0;       // 0-based; 0 for a system of one
    bool tieStranded = false;  // the tie had to leave row 1 with no row to go to
};

// A load made larger for a study, l * scale + added (scale at least 0):
// hours short at such a load are recorded too, beside the year's own.
struct LoadReach {
    double scale = 1.0;
    double added = 0.0;
    float at(float load) const {
        return static_cast<float>(static_cast<double>(load) * scale + added);
    }
};

// Fixed for the run: the chains, the loads and their stretch maxima, and
// how far beyond the loads to record the hours near a shortfall.
struct YearModel {
    YearModel(const Chains& chains, const HourlyLoads& loads, LoadReach systemReach = {},
              LoadReach area1Reach = {})
        : chains(chains),
          loads(loads),
          totalPeaks(loads.total),
          area1Peaks(loads.area1),
          systemReach(systemReach),
          area1Reach(area1Reach) {}
    const Chains& chains;
    const HourlyLoads& loads;
    LoadPeaks totalPeaks;
    LoadPeaks area1Peaks;
    LoadReach systemReach;
    LoadReach area1Reach;
    // For a system that varies from year to year; its loads replace `loads`.
    const YearVariation* variation = nullptr;
};

// A worker's working arrays, sized once for the system.
struct YearWork {
    explicit YearWork(const Chains& chains);
    std::vector<int> state;
    std::vector<ComponentDraws> draws;  // the tie's is the last
    std::vector<char> onMaintenance;    // per unit: its MW are out of the capacities
    HourQueue pending;
};

void simulateYear(const YearModel& model, std::uint32_t seed, std::uint64_t year, YearWork& work,
                  YearOutcome& outcome);

}  // namespace adequacy::independent
