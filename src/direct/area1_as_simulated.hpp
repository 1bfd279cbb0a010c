#pragma once
// Area 1 solved exactly under the model that the simulation runs: in every
// hour area 1 receives what area 0 can spare over its own load, up to the
// capability of the tie's row in force, the rows taken in the shares that the
// simulated tie settles at and all units independent. The report's two-area
// solution models the tie otherwise; this is the figure a simulation of the
// same system converges to.

#include <array>
#include <optional>
#include <vector>

#include "direct/annual_indices.hpp"
#include "direct/atc_table.hpp"
#include "direct/outage_table.hpp"
#include "model/loads.hpp"
#include "montecarlo/state.hpp"

namespace adequacy {

struct Area1AsSimulated {
    double lolh = 0.0;
    double lole = 0.0;  // at each day's area-1 peak hour
    double mwhEue = 0.0;
    double mwhTotal = 0.0;  // area 1's energy demand
    double puEueppm = 0.0;
};

// Area 1's load of an hour as a study changes it: the year's load times
// `scale`, plus `addedMw`. Area 0's load stays what the year gives it, so the
// whole system's load changes by what area 1's does.
struct Area1LoadChange {
    double scale = 1.0;
    double addedMw = 0.0;
};

// What does not depend on the load: area 1's table with its tail sums, and
// the shares of the tie's rows. Prepared once, it solves any number of load
// years without allocating; it reads the tables and the ATC table it was
// prepared from, which must outlive it.
class Area1AsSimulatedSolver {
  public:
    // None when the simulated tie could not run on this table (it would have
    // to leave row 1 with no row to receive it).
    static std::optional<Area1AsSimulatedSolver> prepare(const CapacityTables& tables,
                                                         const AtcTable& atc);
    // Over the days taken (with their ppm of those days' demand).
    Area1AsSimulated solve(const HourlyLoads& loads, const Area1LoadChange& change = {},
                           DayFilter days = {}) const;

  private:
    Area1AsSimulatedSolver(const CapacityTables& tables, const AtcTable& atc,
                           const std::array<double, atcTieStates>& shares);

    const CapacityTables* tables_;
    const AtcTable* atc_;
    std::array<double, atcTieStates> shares_;
    std::vector<double> tail_;  // tail_[j] = P(j) + ... + P(top) of area 1's table
};

std::optional<Area1AsSimulated> solveArea1AsSimulated(const CapacityTables& tables,
                                                      const HourlyLoads& loads,
                                                      const AtcTable& atc);

}  // namespace adequacy
