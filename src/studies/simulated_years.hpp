#pragma once
// A capacity study's figures checked by simulation: the independent engine
// run once over the years asked, every hour near a shortfall recorded with
// the MW then available, so that an index can be read at any load within
// the study's reach without simulating again. The same seed with and
// without a candidate gives common random numbers: the system's units draw
// the same numbers in both, and only the candidate's own draws differ.

#include <cstdint>
#include <vector>

#include "direct/atc_table.hpp"
#include "model/loads.hpp"
#include "model/system_data.hpp"
#include "studies/load_change.hpp"
#include "studies/target.hpp"

namespace adequacy::studies {

struct SimulationRequest {
    int years = 0;
    std::uint32_t seed = 3;
    int threads = 1;
};

struct NearHour {
    int year;
    int hour;
    float systemAvailable;
    float area1Available;  // with what area 0 can send at the year's loads
};

// The hours of the years simulated in which the system, or area 1, is short
// at the loads its reach makes of the year's (area 0's kept as they are).
struct SimulatedYears {
    int years = 0;
    std::vector<NearHour> hours;  // in year and hour order
};

SimulatedYears simulateYears(const UnitTypes& units, const AtcTable& atc, const HourlyLoads& loads,
                             const LinearLoad& systemReach, const LinearLoad& area1Reach,
                             const SimulationRequest& request);

// The index of the whole system, or of area 1, with the loads changed, over
// the years first..end-1, and each of those years' own value of it.
class SimulatedIndices {
  public:
    SimulatedIndices(const SimulatedYears& simulated, const HourlyLoads& loads, bool area1,
                     int installedMw, int firstYear = 0, int endYear = -1);

    StudyFigures at(const LoadChange& change) const;
    // The years' own values of one index at the change, for its standard error.
    std::vector<double> yearValues(const LoadChange& change, StudyIndex index) const;

    double peakMw() const { return area1_ ? loads_.area1Peak : loads_.totalPeak; }
    int installedMw() const { return installedMw_; }

  private:
    // Calls add(year index, index, value) for every short hour's part of each index.
    template <typename Add>
    void forShortHours(const LoadChange& change, Add&& add) const;

    const SimulatedYears& simulated_;
    const HourlyLoads& loads_;
    bool area1_;
    int installedMw_;
    std::size_t first_;  // the hours of the years taken
    std::size_t end_;
    int years_;
    int firstYear_;
};

}  // namespace adequacy::studies
