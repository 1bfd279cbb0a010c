#include "montecarlo/independent/run_cases.hpp"

namespace adequacy::independent {

RunCases runCases(const LoadCases& cases) {
    RunCases run{cases.weatherWeights, cases.steps, {}};
    for (int w = 0; w < cases.weatherYears; ++w) {
        double demand = 0.0;
        for (int s = 0; s < cases.stepCount(); ++s) {
            double sum = 0.0;
            for (float load : cases.at(w, s).area1) sum += load;
            demand += cases.steps[static_cast<std::size_t>(s)].weight * sum;
        }
        run.area1DemandMwh.push_back(demand);
    }
    return run;
}

}  // namespace adequacy::independent
