#include "montecarlo/simulation.hpp"

#include <algorithm>
#include <cstdio>
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
#include "results/standard_error.hpp"

namespace adequacy {

namespace {

// Each report point is ten times the last; 64 bits keep the schedule from
// wrapping however many years are asked.
constexpr long long reportPointGrowth = 10;

// The stream's draws after `years` years in periods of the generator: one
// draw per unit and hour and one for the tie, beside the set-up's one per
// unit. Failures and the tie's moves draw more, so this is a lower bound.
double streamPeriods(int units, long long years) {
    const double draws = units + static_cast<double>(years) * hoursPerYear * (units + 1);
    return draws / 0x1p32;
}

void warnOfRepeats(double periods) {
    if (!(periods > 1.0)) return;
    std::fprintf(stderr,
                 "adequacy: warning: the classic simulation drew at least %.1f times the %s "
                 "numbers of its generator's period, so its stream repeated and its figures "
                 "are worth fewer years than it ran; --engine independent is the engine for "
                 "long runs\n",
                 periods, "2^32");
}

// Years linked through the units' outages carried across New Year get
// standard errors from batches long against the longest repair.
int batchYears(const UnitTypes& units) {
    double longest = 0.0;
    for (int u = 0; u < units.unitCount(); ++u)
        longest = std::max(longest, static_cast<double>(
                                        units.mttrDays[static_cast<std::size_t>(units.typeOf(u))]));
    return results::batchYearsFor(longest);
}

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
        if (context.results)
            context.results->results.monteCarlo->streamPeriods =
                streamPeriods(context.units.unitCount(), state.yearCount);
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
    if (context.results) {
        results::recordSimulationStart(*context.results, context.seed, mcIterations);
        context.results->readBack.batchYears = batchYears(context.units);
        context.results->results.monteCarlo->batchYears = context.results->readBack.batchYears;
    }
    SimulationOutcome outcome = SimulationOutcome::belowMinimumYears;
    if (mcIterations >= minimumYears) {
        outcome =
            simulateYears(context, mcIterations, probabilities, state, files, console, reportFile);
        warnOfRepeats(streamPeriods(context.units.unitCount(), state.yearCount));
    }
    closeScratchFiles(files);
    return outcome;
}

}  // namespace adequacy
