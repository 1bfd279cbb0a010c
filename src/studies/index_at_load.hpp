#pragma once
// The indices of a system, as the direct solutions give them, with the year's
// loads changed by a study. Each evaluator is made once, before a study
// begins, and evaluates any number of changes without allocating.

#include <memory>
#include <optional>
#include <vector>

#include "direct/area1_as_simulated.hpp"
#include "direct/outage_table.hpp"
#include "model/loads.hpp"
#include "studies/load_change.hpp"
#include "studies/target.hpp"

namespace adequacy::studies {

// The whole system as one area: the single-area solution.
class WholeSystemIndices {
  public:
    // The tables and loads are read, not copied: they must outlive it.
    WholeSystemIndices(const CapacityTables& tables, const HourlyLoads& loads, float mttrFactor);

    // With the load changed and `perfectMw` MW of capacity added that is
    // never out. Such capacity moves the installed MW and leaves the outage
    // table as it is, so it is taken off every hour's load as a real number,
    // fractions included, while the demand of the unserved-energy ppm stays
    // the changed load's.
    StudyFigures at(const LoadChange& change, double perfectMw = 0.0);

    double peakMw() const { return loads_.totalPeak; }
    int installedMw() const { return tables_.total.capacity; }

  private:
    const CapacityTables& tables_;
    const HourlyLoads& loads_;
    float mttrFactor_;
    std::vector<double> tails_;             // of the total table, for the unserved energy
    std::unique_ptr<HourlyLoads> changed_;  // the year as the single-area solution reads it
};

// Area 1 with the tie's help, solved exactly under the simulation's model;
// the study's MW are added to area 1's load, area 0's load stays the year's.
class Area1Indices {
  public:
    // None when the simulated tie cannot run on the ATC table.
    static std::optional<Area1Indices> make(const CapacityTables& tables, const HourlyLoads& loads,
                                            const AtcTable& atc);

    StudyFigures at(const LoadChange& change) const;

    double peakMw() const { return loads_->area1Peak; }
    int installedMw() const { return installedMw_; }

  private:
    Area1Indices(Area1AsSimulatedSolver solver, const HourlyLoads& loads, int installedMw)
        : solver_(std::move(solver)), loads_(&loads), installedMw_(installedMw) {}

    Area1AsSimulatedSolver solver_;
    const HourlyLoads* loads_;
    int installedMw_;
};

}  // namespace adequacy::studies
