#include "model/load_cases.hpp"

#include <memory>

namespace adequacy {
namespace {

// Weather year w's slice of an hourly series.
std::span<const float> yearOf(const std::vector<float>& series, int weatherYear) {
    return std::span<const float>(series).subspan(
        static_cast<std::size_t>(weatherYear) * hoursPerYear, hoursPerYear);
}

void grossLoads(const StudySystem& system, const LoadParameters& parameters, int weatherYear,
                HourlyLoads& gross) {
    if (system.hourlyLoads) {
        setHourlyLoads(yearOf(system.hourlyLoads->total, weatherYear),
                       yearOf(system.hourlyLoads->area1, weatherYear), gross);
    } else {
        computeHourlyLoads(parameters, system.loadShape, gross);
    }
}

struct NetSeries {
    std::array<float, hoursPerYear> total;
    std::array<float, hoursPerYear> area1;
};

void netLoads(const StudySystem& system, const HourlyLoads& gross, int weatherYear, double scale,
              NetSeries& net, HourlyLoads& loads) {
    for (std::size_t h = 0; h < static_cast<std::size_t>(hoursPerYear); ++h) {
        double total = static_cast<double>(gross.total[h]) * scale;
        double area1 = static_cast<double>(gross.area1[h]) * scale;
        for (const VariableResource& resource : system.variables) {
            const double mw = yearOf(resource.mw, weatherYear)[h];
            total -= mw;
            if (resource.area == 1) area1 -= mw;
        }
        net.total[h] = static_cast<float>(total);
        net.area1[h] = static_cast<float>(area1);
    }
    setHourlyLoads(net.total, net.area1, loads);
}

}  // namespace

int weatherYearsOf(const StudySystem& system) {
    if (system.hourlyLoads)
        return static_cast<int>(system.hourlyLoads->total.size() / hoursPerYear);
    if (!system.variables.empty())
        return static_cast<int>(system.variables.front().mw.size() / hoursPerYear);
    return 1;
}

void sizeLoadCases(const StudySystem& system, LoadCases& cases) {
    cases.weatherYears = weatherYearsOf(system);
    cases.weatherWeights = system.weatherWeights;
    if (cases.weatherWeights.empty())
        cases.weatherWeights.assign(static_cast<std::size_t>(cases.weatherYears),
                                    1.0 / cases.weatherYears);
    cases.steps = forecastSteps(system.forecast.value_or(ForecastUncertainty{}));
    cases.loads.resize(static_cast<std::size_t>(cases.weatherYears) * cases.steps.size());
}

void forecastLoads(const StudySystem& system, const LoadParameters& parameters, int weatherYear,
                   HourlyLoads& loads) {
    grossLoads(system, parameters, weatherYear, loads);
    if (system.variables.empty()) return;
    auto gross = std::make_unique<HourlyLoads>(loads);
    auto net = std::make_unique<NetSeries>();
    netLoads(system, *gross, weatherYear, 1.0, *net, loads);
}

void computeLoadCases(const StudySystem& system, const LoadParameters& parameters,
                      LoadCases& cases) {
    auto gross = std::make_unique<HourlyLoads>();
    auto net = std::make_unique<NetSeries>();
    for (int w = 0; w < cases.weatherYears; ++w) {
        grossLoads(system, parameters, w, *gross);
        for (int s = 0; s < cases.stepCount(); ++s) {
            const double scale = cases.steps[static_cast<std::size_t>(s)].scale;
            if (scale == 1.0 && system.variables.empty()) {
                cases.at(w, s) = *gross;
            } else {
                netLoads(system, *gross, w, scale, *net, cases.at(w, s));
            }
        }
    }
}

}  // namespace adequacy
