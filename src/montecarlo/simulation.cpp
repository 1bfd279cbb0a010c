#include "montecarlo/simulation.hpp"

#include <optional>

#include "montecarlo/fast/fast_year.hpp"
#include "montecarlo/random.hpp"
#include "montecarlo/reporting/headings.hpp"
#include "montecarlo/reporting/progress.hpp"
#include "montecarlo/reporting/report_block.hpp"
#include "montecarlo/reporting/scratch.hpp"
#include "montecarlo/tie.hpp"
#include "montecarlo/units.hpp"
#include "montecarlo/year.hpp"
#include "report/free_format.hpp"
#include "results/recorder.hpp"

namespace adequacy {

namespace {

// Each report point is ten times the last; 64 bits keep the schedule from
// wrapping however many years are asked.
constexpr long long reportPointGrowth = 10;

SimulationOutcome simulateYears(const SimulationContext& context, int mcIterations,
                                const TransitionProbabilities& probabilities,
                                SimulationState& state, ScratchFiles& files,
                                report::Channel& console, report::Channel& reportFile) {
    const SimulationInputs inputs{context.units, context.loads, context.atc, probabilities};
    const FastYearPlan plan = planFastYears(inputs, fastestHourChecks());
    long long reportPoint = minimumYears;
    ProgressLine progress = startProgress(state.yearCount, mcIterations, context.showProgress);
    while (state.yearCount < mcIterations) {
        const std::optional<YearRecords> records = advanceYearFast(inputs, plan, state);
        if (!records) {
            erase(progress);
            report::writeFree(console, {"CANNOT BE HERE AT 1"});
            report::flush(console);
            return SimulationOutcome::cannotBeHere;
        }
        append(files, *records);
        advance(progress, state.yearCount);
        if (state.yearCount < reportPoint && state.yearCount < mcIterations) continue;
        erase(progress);
        reportEstimates(context, state, files, console, reportFile);
        report::flush(console);
        reportPoint *= reportPointGrowth;
    }
    return SimulationOutcome::finished;
}

}  // namespace

SimulationOutcome runSimulation(const SimulationContext& context, report::Channel& console,
                                report::Channel& reportFile, report::ConsoleInput& input) {
    ScratchFiles files = openScratchFiles();
    if (context.seed != ranInitialSeed) writeSeedLine(reportFile, context.seed);
    writeOpeningLines(console, reportFile);

    TransitionProbabilities probabilities{};
    SimulationState state{};
    state.ranSeed = context.seed;
    setUpUnits(context.units, state.ranSeed, state.unitState, probabilities);
    writeRepairTimeLines(console, reportFile, context.generationMttr);
    setUpTie(context.atc, state.tie, probabilities);

    report::flush(reportFile);  // the set-up lines are a block of their own
    report::writeFree(console, {"NUMBER OF MONTECARLO ITERATIONS?"});
    report::flush(console);
    const int mcIterations = report::readInteger(input, report::Prompt::years, 0);
    if (context.results)
        results::recordSimulationStart(*context.results, context.seed, mcIterations);
    SimulationOutcome outcome = SimulationOutcome::belowMinimumYears;
    if (mcIterations >= minimumYears) {
        outcome =
            simulateYears(context, mcIterations, probabilities, state, files, console, reportFile);
    }
    closeScratchFiles(files);
    return outcome;
}

}  // namespace adequacy
