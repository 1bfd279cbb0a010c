#pragma once
// A capacity study's figures checked by simulation: the independent engine
// run once over the years asked, every hour near a shortfall recorded with
// the MW then available, so that an index can be read at any load within
// the study's reach without simulating again. The same seed with and
// without a candidate gives common random numbers: the system's units draw
// the same numbers in both, and only the candidate's own draws differ.
//
// A system that varies from year to year is simulated as the engine does:
// each year draws its weather year, and is tested at every step of the load
// forecast; an hour near a shortfall keeps which case it was near in, so
// that the index is read from that case's own loads.

#include <cstdint>
#include <span>
#include <vector>

#include "direct/atc_table.hpp"
#include "model/load_cases.hpp"
#include "model/system_data.hpp"
#include "model/variation.hpp"
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
    float area1Available;      // with what area 0 can send at the case's loads
    std::uint8_t weatherYear;  // 0-based: at most 100 of them
    std::uint8_t step;         // of the load forecast, 0 without one
};

// The hours of the years simulated in which the system, or area 1, is short
// at the loads its reach makes of the case's (area 0's kept as they are).
struct SimulatedYears {
    int years = 0;
    std::vector<NearHour> hours;  // in year and hour order, an hour's steps in step order
};

// What the years are simulated on. A plain system is one case of loads and
// no maintenance, and is simulated as one year of loads.
struct SimulatedSystem {
    const UnitTypes& units;
    const AtcTable& atc;
    const LoadCases& cases;
    std::span<const MaintenanceWindow> maintenance;  // numbered as `units`
};

// The reaches apply to every case's loads, each step's its own.
SimulatedYears simulateYears(const SimulatedSystem& system, const LinearLoad& systemReach,
                             const LinearLoad& area1Reach, const SimulationRequest& request);

// The index of the whole system, or of area 1, with the loads changed, over
// the years first..end-1, and each of those years' own value of it. A year's
// value weights each step by its probability; its weather year was drawn
// with its own, so the weather weights are in the years already.
class SimulatedIndices {
  public:
    // `peakMw` is the peak a load change is measured from, as the direct
    // study's; the cases are those the years were simulated on.
    SimulatedIndices(const SimulatedYears& simulated, const LoadCases& cases, bool area1,
                     int installedMw, double peakMw, int firstYear = 0, int endYear = -1);

    StudyFigures at(const LoadChange& change) const;
    // The years' own values of one index at the change, for its standard error.
    std::vector<double> yearValues(const LoadChange& change, StudyIndex index) const;

    double peakMw() const { return peakMw_; }
    int installedMw() const { return installedMw_; }

  private:
    // Calls add(year index, index, value) for every short hour's part of each index.
    template <typename Add>
    void forShortHours(const LoadChange& change, Add&& add) const;

    const SimulatedYears& simulated_;
    const LoadCases& cases_;
    bool area1_;
    int installedMw_;
    double peakMw_;
    std::size_t first_;  // the hours of the years taken
    std::size_t end_;
    int years_;
    int firstYear_;
};

}  // namespace adequacy::studies
