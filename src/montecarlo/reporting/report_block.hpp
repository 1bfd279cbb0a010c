#pragma once
// One Monte Carlo report: the estimates after n years with their SD%, the
// tie table and the processor minutes, on the console and in the report.

#include "montecarlo/reporting/scratch.hpp"
#include "montecarlo/simulation.hpp"
#include "montecarlo/state.hpp"
#include "report/channel.hpp"

namespace adequacy {

// Reads every record back from the scratch files and leaves them positioned
// for the next year's record. Changes no simulation state. The report channel
// is flushed at the end, so an interrupted run keeps every complete block;
// with a results file, the file is rewritten with the block, and an
// interrupt waits until both are out.
void reportEstimates(const SimulationContext& context, const SimulationState& state,
                     ScratchFiles& files, report::Channel& console, report::Channel& reportFile);

}  // namespace adequacy
