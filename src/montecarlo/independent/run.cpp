#include "montecarlo/independent/run.hpp"

#include <array>
#include <cstdio>
#include <memory>

#include "montecarlo/independent/block_pool.hpp"
#include "montecarlo/independent/year_record.hpp"
#include "montecarlo/independent/year_steps.hpp"
#include "montecarlo/independent/year_variation.hpp"
#include "montecarlo/reporting/headings.hpp"
#include "montecarlo/reporting/progress.hpp"
#include "montecarlo/reporting/report_block.hpp"
#include "montecarlo/reporting/scratch.hpp"
#include "montecarlo/year.hpp"
#include "report/fatal.hpp"
#include "report/free_format.hpp"
#include "report/layout.hpp"
#include "results/recorder.hpp"

namespace adequacy::independent {
namespace {

constexpr long long reportPointGrowth = 10;

constexpr const char* tooManyYears =
    "adequacy: the independent engine simulates at most 10000000 years a run; put longer runs "
    "together from runs of disjoint years (--first-year, adequacy merge)\n";

constexpr const char* tooManyStepYears =
    "adequacy: the independent engine keeps at most 10000000 years a run, a year counting once "
    "for each load forecast step; put longer runs together from runs of disjoint years "
    "(--first-year)\n";

void writeEngineLine(report::Channel& console, report::Channel& reportFile,
                     const SimulationContext& context) {
    for (report::Channel* channel : {&reportFile, &console}) {
        report::write(*channel, "(' INDEPENDENT YEARS ENGINE, RANDOM NUMBER SEED =',I11)",
                      {static_cast<long long>(context.seed)});
        if (context.firstYear != 1)
            report::write(*channel, "(' FIRST SIMULATED YEAR =',I20)",
                          {static_cast<long long>(context.firstYear)});
    }
}

}  // namespace

void reportYears(const SimulationContext& context, const RunYears& years, SimulationState& state,
                 ScratchFiles& files, report::Channel& console, report::Channel& reportFile) {
    settleMonthHour(years, state);
    if (context.results) results::recordIndependentYears(*context.results, years);
    if (!years.cases.varying()) {
        reportEstimates(context, state, files, console, reportFile);
    } else {
        // A varying system's years have loads of their own: the ppm takes
        // the energy demand of the loads the years were simulated at.
        SimulationContext own = context;
        own.area1EnergyDemand = static_cast<float>(area1DemandMwh(years));
        reportEstimates(own, state, files, console, reportFile);
    }
    report::flush(console);
}

namespace {

struct Run {
    const SimulationContext& context;
    const YearModel& model;
    SimulationState& state;
    RunYears& years;
    ScratchFiles& files;
    report::Channel& console;
    report::Channel& reportFile;
};

// The next year's figures, at every step of its weather year's loads.
void addNextYear(Run& run, const YearOutcome& year) {
    if (!run.model.variation) {
        addYear(yearFigures(year, run.model.loads, run.years), run.years, run.state);
        return;
    }
    std::array<YearFigures, maxForecastSteps> steps;
    const StepLoads loads = run.model.variation->loadsOf(year.weatherYear);
    const std::span<YearFigures> figures(steps.data(), static_cast<std::size_t>(loads.count));
    stepFigures(year, loads, run.years, figures);
    addYear(std::span<const YearFigures>(figures), run.years, run.state);
}

void reportYears(Run& run) {
    reportYears(run.context, run.years, run.state, run.files, run.console, run.reportFile);
}

// Adds the years in order and reports at 1000, 10000, ... years and after
// the last; false when a year's tie was stranded.
bool addYears(Run& run, BlockPool& pool, int mcIterations) {
    long long reportPoint = minimumYears;
    ProgressLine progress = startProgress(0, mcIterations, run.context.showProgress);
    const long long blocks = (mcIterations + blockYears - 1) / blockYears;
    for (long long b = 0; b < blocks; ++b) {
        const Block& block = pool.take(b);
        for (const YearOutcome& year : block.years) {
            if (run.state.yearCount >= mcIterations) break;
            if (year.tieStranded) {
                erase(progress);
                return false;
            }
            addNextYear(run, year);
            append(run.files, yearRecords(run.state));
            advance(progress, run.state.yearCount);
            if (run.state.yearCount < reportPoint && run.state.yearCount < mcIterations) continue;
            erase(progress);
            reportYears(run);
            reportPoint *= reportPointGrowth;
        }
        pool.release(b);
    }
    return true;
}

SimulationOutcome simulate(const SimulationContext& context, int threads, int mcIterations,
                           ScratchFiles& files, report::Channel& console,
                           report::Channel& reportFile) {
    const Chains chains = buildChains(context.units, context.atc);
    const auto model = std::make_unique<YearModel>(chains, context.loads);
    std::unique_ptr<YearVariation> variation;
    RunCases cases;
    if (context.cases) {
        variation = std::make_unique<YearVariation>(*context.cases, context.maintenance,
                                                    context.weatherInTurn);
        model->variation = variation.get();
        cases = runCases(*context.cases);
    }
    SimulationState state{};
    state.unitState.assign(chains.units.size(), unitUp);
    const int steps = cases.stepCount();
    RunYears years = runYears(context.firstYear, mcIterations, std::move(cases));
    const std::uint32_t seed = context.seed;
    const std::uint64_t first = context.firstYear - 1;  // the streams count years from 0
    BlockPool pool(
        threads, mcIterations, chains,
        [&model, seed, first](std::uint64_t year, YearWork& work, YearOutcome& outcome) {
            simulateYear(*model, seed, first + year, work, outcome);
        },
        steps);
    Run run{context, *model, state, years, files, console, reportFile};
    if (addYears(run, pool, mcIterations)) return SimulationOutcome::finished;
    report::writeFree(console, {"CANNOT BE HERE AT 1"});
    report::flush(console);
    return SimulationOutcome::cannotBeHere;
}

}  // namespace

SimulationOutcome runIndependent(const SimulationContext& context, int threads,
                                 report::Channel& console, report::Channel& reportFile,
                                 report::ConsoleInput& input) {
    ScratchFiles files = openScratchFiles();
    writeEngineLine(console, reportFile, context);
    writeOpeningLines(console, reportFile);
    writeRepairTimeLines(console, reportFile, context.generationMttr);
    report::flush(reportFile);
    report::writeFree(console, {"NUMBER OF MONTECARLO ITERATIONS?"});
    report::flush(console);
    const int mcIterations = report::readInteger(input, report::Prompt::years, 0);
    if (context.results) {
        results::recordSimulationStart(*context.results, context.seed, mcIterations);
        context.results->results.monteCarlo->engine = "independent";
        context.results->results.monteCarlo->firstYear = context.firstYear;
    }
    if (mcIterations > maxIndependentYears) {
        std::fputs(tooManyYears, stderr);
        report::endProgram(report::exitIoError);
    }
    const int steps = context.cases ? context.cases->stepCount() : 1;
    if (steps > 1 && mcIterations > maxIndependentYears / steps) {
        std::fputs(tooManyStepYears, stderr);
        report::endProgram(report::exitIoError);
    }
    SimulationOutcome outcome = SimulationOutcome::belowMinimumYears;
    if (mcIterations >= minimumYears)
        outcome = simulate(context, threads, mcIterations, files, console, reportFile);
    closeScratchFiles(files);
    return outcome;
}

}  // namespace adequacy::independent
