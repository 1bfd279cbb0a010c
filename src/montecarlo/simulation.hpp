#pragma once
// The sequential Monte Carlo phase, the last of a run: set-up, the number of
// years asked on the console, the years simulated one after the other, and a
// report after 1000, 10000, ... years and after the last.

#include <cstdint>
#include <span>

#include "direct/atc_table.hpp"
#include "model/load_cases.hpp"
#include "model/loads.hpp"
#include "model/system_data.hpp"
#include "model/variation.hpp"
#include "montecarlo/random.hpp"
#include "report/channel.hpp"
#include "report/console_input.hpp"

namespace adequacy {

namespace results {
struct Recorder;
}

enum class SimulationOutcome { finished, belowMinimumYears, cannotBeHere };

struct SimulationContext {
    const UnitTypes& units;
    const HourlyLoads& loads;
    const AtcTable& atc;
    float generationMttr;
    float area1EnergyDemand;              // MWh per year, from the last area-1 solution
    float cpuMark;                        // processor seconds; the report's minutes count from it
    std::uint32_t seed = ranInitialSeed;  // another seed is named in the report
    bool showProgress = true;             // the progress line, when standard error is a terminal
    // When set, every report's figures go to the results file as well.
    results::Recorder* results = nullptr;
    std::uint64_t firstYear = 1;  // the independent engine's first year
    // A system that varies from year to year, which only the independent
    // engine simulates: its cases of net loads (`loads` is then the first
    // weather year's loads at the forecast), its maintenance windows and how
    // the years take their weather years.
    const LoadCases* cases = nullptr;
    std::span<const MaintenanceWindow> maintenance = {};
    bool weatherInTurn = false;
};

inline constexpr int minimumYears = 1000;

// On cannotBeHere the console already shows "CANNOT BE HERE AT 1"; the caller
// ends the program without its closing dialog in that case and below the
// minimum number of years.
SimulationOutcome runSimulation(const SimulationContext& context, report::Channel& console,
                                report::Channel& reportFile, report::ConsoleInput& input);

}  // namespace adequacy
