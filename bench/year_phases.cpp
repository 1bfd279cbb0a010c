// Where a year of the fast loop goes: the run-by-run loop of the fast path
// (a scan of quiet hours, then the replay of the hour that ends it, through
// the plan's HourSteps) written out again with the time stamp counter read
// around its phases. That loop is the year of the AVX2 and portable checks
// and of hours too large for registers; an AVX-512 year whose hours fit in
// registers runs as one function, which bench/year_profile.sh splits.
//   year_phases LOOP YEARS [BLOCKS] [ROUNDS]
// LOOP is scalar, avx2 or avx512[-or|-chain]; the system is built as in year_loops. Each
// round simulates YEARS years from the start of a run; the best round per
// phase is printed in microseconds per year, with the hours and runs of a year.
// The seed after the last year is checked against advanceYearFast's.

#include <x86intrin.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "bench_system.hpp"
#include "model/loads.hpp"
#include "montecarlo/fast/fast_year.hpp"
#include "montecarlo/loss_of_load.hpp"
#include "montecarlo/year.hpp"

namespace {

using namespace adequacy;

using bench::BenchSystem;
using bench::checksNamed;

enum Phase { quiet, replay, losses, bookkeeping, phases };
const char* const phaseNames[phases] = {"quiet-hour scans", "event replays", "loss-of-load scans",
                                        "year bookkeeping"};

struct Ticks {
    unsigned long long phase[phases] = {};
    long long laps[phases] = {};
    long long hours = 0;  // quiet ones
    long long runs = 0;
};

bool timedYear(const SimulationInputs& inputs, const FastYearPlan& plan, SimulationState& state,
               Ticks& ticks) {
    unsigned long long mark = __rdtsc();
    auto lap = [&](Phase phase) {
        const unsigned long long now = __rdtsc();
        ticks.phase[phase] += now - mark;
        ticks.laps[phase] += 1;
        mark = now;
    };
    LaneState lanes = laneState(inputs, plan, state);
    state.yearCount += 1;
    YearTallies tallies;
    lap(bookkeeping);
    for (int index = 0; index < hoursPerYear;) {
        const QuietRun run = plan.steps.scan(lanes.thresholds, state.ranSeed, hoursPerYear - index);
        state.ranSeed = run.seed;
        state.tie.atcStateHours[state.tie.atcState - 1] += run.hours;
        ticks.hours += run.hours;
        ticks.runs += 1;
        lap(quiet);
        const HourCapacity capacity = capacityOf(lanes);
        const double capability = inputs.atc.mw[state.tie.atcState - 1];
        const int end = index + run.hours;
        if (!coversPeaks(plan.peaks, capacity, capability))
            for (int hour = plan.checks.losses(capacity, capability, inputs.loads, index, end);
                 hour < end;
                 hour = plan.checks.losses(capacity, capability, inputs.loads, hour + 1, end))
                testHour(inputs, capacity, hour, state, tallies);
        index = end;
        lap(losses);
        if (index == hoursPerYear) break;
        if (!plan.steps.replay(inputs, plan, run, lanes, state)) return false;
        lap(replay);
        testHour(inputs, capacityOf(lanes), index, state, tallies);
        index += 1;
        lap(losses);
    }
    closeYear(tallies.system, state.system);
    closeYear(tallies.area1, state.area1);
    yearRecords(state);
    lap(bookkeeping);
    return true;
}

// What reading the counter adds to a lap, taken off every phase per lap.
double ticksPerLap() {
    double best = 1e9;
    for (int trial = 0; trial < 100; ++trial) {
        const unsigned long long begin = __rdtsc();
        for (int lap = 0; lap < 100; ++lap) __rdtsc();
        best = std::min(best, static_cast<double>(__rdtsc() - begin) / 101.0);
    }
    return best;
}

double ticksPerMicrosecond() {
    const auto start = std::chrono::steady_clock::now();
    const unsigned long long begin = __rdtsc();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(200)) {
    }
    const std::chrono::duration<double, std::micro> elapsed =
        std::chrono::steady_clock::now() - start;
    return static_cast<double>(__rdtsc() - begin) / elapsed.count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr,
                     "usage: year_phases scalar|avx2|avx512[-or|-chain] YEARS [BLOCKS] [ROUNDS]\n");
        return 2;
    }
    const std::optional<HourChecks> checks = checksNamed(argv[1]);
    const int years = std::atoi(argv[2]);
    const int blocks = argc >= 4 ? std::atoi(argv[3]) : builtInBlockCount;
    const int rounds = argc == 5 ? std::atoi(argv[4]) : 5;
    if (!checks || years <= 0 || blocks <= 0 || rounds <= 0) {
        std::fprintf(stderr, "year_phases: no such loop here, or no years, blocks or rounds\n");
        return 2;
    }
    const BenchSystem system(blocks);
    const SimulationState& start = system.start;
    const SimulationInputs inputs = system.inputs();
    const FastYearPlan plan = planFastYears(inputs, *checks);
    if (!plan.exactCapacities || !plan.fitsLanes) {
        std::fprintf(stderr,
                     "year_phases: the fast loop leaves this system to the reference loop\n");
        return 2;
    }

    SimulationState expected = start;
    for (int year = 0; year < years; ++year) advanceYearFast(inputs, plan, expected);

    Ticks best;
    unsigned long long bestTotal = ~0ull;
    for (int round = 0; round < rounds; ++round) {
        SimulationState state = start;
        Ticks ticks;
        for (int year = 0; year < years; ++year)
            if (!timedYear(inputs, plan, state, ticks)) return 1;
        if (state.ranSeed != expected.ranSeed || state.unitState != expected.unitState) {
            std::fprintf(stderr, "year_phases: the timed loop left another state\n");
            return 1;
        }
        unsigned long long total = 0;
        for (unsigned long long t : ticks.phase) total += t;
        if (round == 0) best = ticks;
        std::copy(ticks.laps, ticks.laps + phases, best.laps);
        for (int p = 0; p < phases; ++p) best.phase[p] = std::min(best.phase[p], ticks.phase[p]);
        bestTotal = std::min(bestTotal, total);
    }
    const double perYear = ticksPerMicrosecond() * years;
    const double perLap = ticksPerLap();
    std::printf(
        "%s, %d units, best of %d rounds of %d years, us per year (%.0f ticks a lap taken off):\n",
        argv[1], system.units.unitCount(), rounds, years, perLap);
    double sum = 0.0;
    for (int p = 0; p < phases; ++p) {
        const double phase = (best.phase[p] - perLap * static_cast<double>(best.laps[p])) / perYear;
        std::printf("  %-20s %8.1f  (%.1f with the laps)\n", phaseNames[p], phase,
                    best.phase[p] / perYear);
        sum += phase;
    }
    std::printf("  %-20s %8.1f (best whole round %.1f)\n", "sum", sum, bestTotal / perYear);
    std::printf("  quiet hours %.0f, quiet runs (event hours + 1) %.0f per year\n",
                static_cast<double>(best.hours) / years, static_cast<double>(best.runs) / years);
    return 0;
}
