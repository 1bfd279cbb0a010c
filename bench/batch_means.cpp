// The standard error of the simulated indices two ways, on the built-in data
// from the start of a run:
//   batch_means YEARS BATCHES
// from the values of the single years, as the results file gives it, and
// from the means of BATCHES equal batches of consecutive years. Years are
// linked only through the unit and tie states carried across New Year; if
// that link mattered, the batch-means figure would come out larger.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bench_system.hpp"
#include "model/loads.hpp"
#include "montecarlo/fast/fast_year.hpp"
#include "montecarlo/year.hpp"
#include "results/standard_error.hpp"

namespace {

using namespace adequacy;

constexpr int fields = 2 * areaEstimates;  // whole system, then area 1
constexpr const char* names[fields] = {"LOLH SA", "LOLE SA", "ALOLP SA", "MWHEUE SA",
                                       "LOLH A1", "LOLE A1", "ALOLP A1", "MWHEUE A1"};

double field(const YearRecords& records, int i) {
    return i < areaEstimates ? records.system[static_cast<std::size_t>(i)]
                             : records.area1[static_cast<std::size_t>(i - areaEstimates)];
}

// Sample standard deviation of the batch means over sqrt(batches).
double batchStandardError(const std::vector<double>& means) {
    double mean = 0.0;
    for (double m : means) mean += m;
    mean /= static_cast<double>(means.size());
    double squares = 0.0;
    for (double m : means) squares += (m - mean) * (m - mean);
    const double b = static_cast<double>(means.size());
    return std::sqrt(squares / (b - 1.0) / b);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: batch_means YEARS BATCHES\n");
        return 2;
    }
    const int years = std::atoi(argv[1]);
    const int batches = std::atoi(argv[2]);
    if (batches < 2 || years < batches || years % batches != 0) {
        std::fprintf(stderr, "batch_means: YEARS must be a multiple of BATCHES >= 2\n");
        return 2;
    }
    const bench::BenchSystem system(builtInBlockCount);
    SimulationState state = system.start;
    const SimulationInputs inputs = system.inputs();
    const FastYearPlan plan = planFastYears(inputs, fastestHourChecks());

    const int batchYears = years / batches;
    results::YearValues perYear[fields];
    std::vector<double> batchMeans[fields];
    double batchStart[fields] = {};  // running total at the start of the batch
    for (int year = 1; year <= years; ++year) {
        const std::optional<YearRecords> records = advanceYearFast(inputs, plan, state);
        if (!records) return 1;
        for (int i = 0; i < fields; ++i) {
            results::addRunningEstimate(perYear[i], field(*records, i));
            if (year % batchYears != 0) continue;
            const double total = year * field(*records, i);
            batchMeans[i].push_back((total - batchStart[i]) / batchYears);
            batchStart[i] = total;
        }
    }
    std::printf("%d years, %d batches of %d years\n", years, batches, batchYears);
    std::printf("%-10s %12s %12s %12s %8s\n", "index", "estimate", "SE years", "SE batches",
                "ratio");
    for (int i = 0; i < fields; ++i) {
        const double single = results::standardError(perYear[i]);
        const double batch = batchStandardError(batchMeans[i]);
        std::printf("%-10s %12.6f %12.6f %12.6f %8.3f\n", names[i], perYear[i].lastEstimate, single,
                    batch, batch / single);
    }
    return 0;
}
