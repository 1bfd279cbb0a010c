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
#include "studies/study_cases.hpp"
#include "studies/target.hpp"

namespace adequacy::studies {

// The whole system as one area: the single-area solution of every case,
// weighted.
class WholeSystemIndices {
  public:
    // The cases are read, not copied: they must outlive it.
    explicit WholeSystemIndices(const StudyCases& study);

    // With the load changed and `perfectMw` MW of capacity added that is
    // never out. Such capacity moves the installed MW and leaves the outage
    // table as it is, so it is taken off every hour's load as a real number,
    // fractions included, while the demand of the unserved-energy ppm stays
    // the changed load's.
    StudyFigures at(const LoadChange& change, double perfectMw = 0.0);

    double peakMw() const { return study_.totalPeakMw; }
    int installedMw() const { return study_.service.tables.front().total.capacity; }

  private:
    const StudyCases& study_;
    std::vector<std::vector<double>> tails_;  // of each set's total table
    std::unique_ptr<HourlyLoads> changed_;    // a case as the single-area solution reads it
};

// Area 1 with the tie's help, solved exactly under the simulation's model;
// the study's MW are added to area 1's load, area 0's load stays the year's.
class Area1Indices {
  public:
    // None when the simulated tie cannot run on the ATC table.
    static std::optional<Area1Indices> make(const StudyCases& study, const AtcTable& atc);

    StudyFigures at(const LoadChange& change) const;

    double peakMw() const { return study_->area1PeakMw; }
    int installedMw() const { return study_->service.tables.front().area1.capacity; }

  private:
    Area1Indices(Area1AsSimulatedSets solver, const StudyCases& study)
        : solver_(std::move(solver)), study_(&study) {}

    Area1AsSimulatedSets solver_;
    const StudyCases* study_;
};

}  // namespace adequacy::studies
