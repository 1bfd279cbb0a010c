// Times one year loop from the start of a run:
//   year_loops LOOP YEARS [BLOCKS [quiet]]
// LOOP is reference, fast (the checks the program uses), scalar, avx2,
// avx512, avx512-or or avx512-chain (see checksNamed). The system is BLOCKS blocks of the ten
// built-in unit types (default 11, the built-in system), area 1 being the first BLOCKS / 11 of them
// (at least one), with every load parameter scaled by BLOCKS / 11: 44 blocks make a system four
// times the built-in one. Prints the loop, the years, the seconds, the years per second and the
// microseconds per year. With `quiet`, no unit fails and the tie keeps row 1
// (BenchSystem::silence): the time is that of drawing and checking every hour's lanes, with no
// event to replay.

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
#include "montecarlo/year.hpp"

namespace {

using namespace adequacy;

using bench::BenchSystem;
using bench::checksNamed;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr,
                     "usage: year_loops reference|fast|scalar|avx2|avx512[-or|-chain] YEARS "
                     "[BLOCKS [quiet]]\n");
        return 2;
    }
    const std::string loop = argv[1];
    const int years = std::atoi(argv[2]);
    const int blocks = argc >= 4 ? std::atoi(argv[3]) : builtInBlockCount;
    const bool quiet = argc == 5 && std::string(argv[4]) == "quiet";
    const std::optional<HourChecks> checks = checksNamed(loop);
    if (argc == 5 && !quiet) {
        std::fprintf(stderr, "year_loops: the fourth argument can only be quiet\n");
        return 2;
    }
    if (years <= 0 || blocks <= 0 || (loop != "reference" && !checks)) {
        std::fprintf(stderr, "year_loops: no loop %s here, or no years or blocks\n", loop.c_str());
        return 2;
    }

    BenchSystem system(blocks);
    if (quiet) system.silence();
    SimulationState state = system.start;
    const SimulationInputs inputs = system.inputs();
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
    std::printf("%s %d years %.3f s %.1f years/s seed %u units %d %.1f us/year\n", loop.c_str(),
                years, seconds.count(), years / seconds.count(), state.ranSeed,
                system.units.unitCount(), seconds.count() / years * 1e6);
    return 0;
}
