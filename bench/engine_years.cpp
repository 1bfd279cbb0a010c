// Times the independent engine's years on one core, beside the classic
// engine's fast loop on the same system: the built-in blocks repeated, loads
// scaled. A year of the independent engine costs what its events cost.
//
//   engine_years independent|classic YEARS [BLOCKS]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench_system.hpp"
#include "montecarlo/fast/fast_year.hpp"
#include "montecarlo/independent/year_events.hpp"
#include "montecarlo/independent/year_record.hpp"

using namespace adequacy;

namespace {

// Simulates and adds the years one after the other; the events per year.
double runIndependent(const bench::BenchSystem& system, int years) {
    const independent::Chains chains = independent::buildChains(system.units, system.atc);
    const independent::YearModel model(chains, *system.loads);
    independent::YearWork work(chains);
    independent::YearOutcome outcome;
    outcome.losses.reserve(hoursPerYear);
    SimulationState state{};
    independent::RunYears run = independent::runYears(1, years);
    double changes = 0.0;
    for (int year = 0; year < years; ++year) {
        independent::simulateYear(model, 3, static_cast<std::uint64_t>(year), work, outcome);
        if (outcome.tieStranded) std::exit(1);
        independent::addYear(independent::yearFigures(outcome, *system.loads, run), run, state);
        changes += outcome.changes;
    }
    return changes / years;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: engine_years independent|classic YEARS [BLOCKS]\n");
        return 2;
    }
    const std::string engine = argv[1];
    const int years = std::atoi(argv[2]);
    const int blocks = argc == 4 ? std::atoi(argv[3]) : builtInBlockCount;
    if (years <= 0 || blocks <= 0 || (engine != "independent" && engine != "classic")) {
        std::fprintf(stderr, "engine_years: no engine %s, or no years or blocks\n", engine.c_str());
        return 2;
    }
    const bench::BenchSystem system(blocks);
    const auto start = std::chrono::steady_clock::now();
    double events = 0.0;
    if (engine == "independent") {
        events = runIndependent(system, years);
    } else {
        SimulationState state = system.start;
        const SimulationInputs inputs = system.inputs();
        const FastYearPlan plan = planFastYears(inputs, fastestHourChecks());
        for (int year = 0; year < years; ++year)
            if (!advanceYearFast(inputs, plan, state)) return 1;
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::printf("%s %d years units %d %.3f s %.1f us/year", engine.c_str(), years,
                system.units.unitCount(), seconds.count(), seconds.count() / years * 1e6);
    if (engine == "independent") std::printf(" %.0f events/year", events);
    std::printf("\n");
    return 0;
}
