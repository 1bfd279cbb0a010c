#pragma once
// Area 1 solved exactly under the model that the simulation runs: in every
// hour area 1 receives what area 0 can spare over its own load, up to the
// capability of the tie's row in force, the rows taken in the shares that the
// simulated tie settles at and all units independent. The report's two-area
// solution models the tie otherwise; this is the figure a simulation of the
// same system converges to.

#include <optional>

#include "direct/atc_table.hpp"
#include "direct/outage_table.hpp"
#include "model/loads.hpp"

namespace adequacy {

struct Area1AsSimulated {
    double lolh = 0.0;
    double lole = 0.0;  // at each day's area-1 peak hour
    double mwhEue = 0.0;
    double puEueppm = 0.0;
};

// None when the simulated tie could not run on this table (it would have to
// leave row 1 with no row to receive it).
std::optional<Area1AsSimulated> solveArea1AsSimulated(const CapacityTables& tables,
                                                      const HourlyLoads& loads,
                                                      const AtcTable& atc);

}  // namespace adequacy
