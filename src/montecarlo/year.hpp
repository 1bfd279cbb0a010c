#pragma once
// The reference year loop: 365 days of 24 hours, units then tie stepped every
// hour, the whole system and area 1 tested for loss of load. It is written
// literally, one unit and one hour at a time; faster loops are checked against
// it on the state they leave behind.

#include <optional>

#include "direct/atc_table.hpp"
#include "model/loads.hpp"
#include "model/system_data.hpp"
#include "montecarlo/loss_of_load.hpp"
#include "montecarlo/state.hpp"

namespace adequacy {

struct SimulationInputs {
    const UnitTypes& units;
    const HourlyLoads& loads;
    const AtcTable& atc;
    const TransitionProbabilities& probabilities;
};

// The state of a run that has not simulated a year yet: seed 3 after the
// set-up draws (one per unit), every counter 0. Fills the probabilities as it goes.
SimulationState initialState(const UnitTypes& units, const AtcTable& atc,
                             TransitionProbabilities& probabilities);

// The records written after year n: each total divided by n.
YearRecords yearRecords(const SimulationState& state);

// Simulates one more year. Empty when the tie found no row to move to; the
// state is then left mid-year and the run cannot go on.
std::optional<YearRecords> advanceYear(const SimulationInputs& inputs, SimulationState& state);

}  // namespace adequacy
