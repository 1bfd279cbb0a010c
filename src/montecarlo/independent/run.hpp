#pragma once
// The independent engine's simulation phase: the classic phase's prompts,
// report blocks and results, with years that are independent replications,
// simulated on several threads in fixed blocks and added to the totals in
// year order, so that every figure is the same for any number of threads.

#include "montecarlo/independent/year_record.hpp"
#include "montecarlo/reporting/scratch.hpp"
#include "montecarlo/simulation.hpp"

namespace adequacy::independent {

// The engine keeps every year's figures (under 80 bytes a year): a run is
// held to this many years; longer ones are put together from runs of
// disjoint years (--first-year, adequacy merge).
inline constexpr int maxIndependentYears = 10000000;

// A report of the years so far: the classic blocks and, with a results
// file, the figures of the single years.
void reportYears(const SimulationContext& context, const RunYears& years, SimulationState& state,
                 ScratchFiles& files, report::Channel& console, report::Channel& reportFile);

SimulationOutcome runIndependent(const SimulationContext& context, int threads,
                                 report::Channel& console, report::Channel& reportFile,
                                 report::ConsoleInput& input);

}  // namespace adequacy::independent
