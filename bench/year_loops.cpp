// Times one year loop on the built-in data from the start of a run:
//   year_loops LOOP YEARS
// LOOP is reference, fast (the checks the program uses), scalar, avx2 or
// avx512. Prints the loop, the years, the seconds and the years per second.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "model/loads.hpp"
#include "montecarlo/fast_year.hpp"
#include "montecarlo/year.hpp"

namespace {

using namespace adequacy;

std::optional<HourChecks> checksNamed(const std::string& name) {
    if (name == "fast") return fastestHourChecks();
    if (name == "scalar") return scalarHourChecks();
    if (name == "avx2" && avx2Available()) return avx2HourChecks();
    if (name == "avx512" && avx512Available()) return avx512HourChecks();
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: year_loops reference|fast|scalar|avx2|avx512 YEARS\n");
        return 2;
    }
    const std::string loop = argv[1];
    const int years = std::atoi(argv[2]);
    const std::optional<HourChecks> checks = checksNamed(loop);
    if (years <= 0 || (loop != "reference" && !checks)) {
        std::fprintf(stderr, "year_loops: no loop %s here, or no years\n", loop.c_str());
        return 2;
    }

    const UnitTypes units = builtInUnitTypes();
    const AtcTable atc = builtInAtcTable();
    auto loads = std::make_unique<HourlyLoads>();
    computeHourlyLoads(builtInLoadParameters(), *loads);
    TransitionProbabilities probabilities{};
    SimulationState state = initialState(units, atc, probabilities);
    const SimulationInputs inputs{units, *loads, atc, probabilities};
    const FastYearPlan plan = planFastYears(inputs, checks.value_or(scalarHourChecks()));

    const auto start = std::chrono::steady_clock::now();
    for (int year = 0; year < years; ++year) {
        const bool simulated = loop == "reference"
                                   ? advanceYear(inputs, state).has_value()
                                   : advanceYearFast(inputs, plan, state).has_value();
        if (!simulated) return 1;
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    // The seed shows that every loop simulated the same years.
    std::printf("%s %d years %.3f s %.1f years/s seed %u\n", loop.c_str(), years, seconds.count(),
                years / seconds.count(), state.ranSeed);
    return 0;
}
