#pragma once
// A varying system's simulated figures weather year by weather year: the
// years that took each weather year and their means, with the forecast
// steps the years were evaluated at.

#include <nlohmann/json.hpp>
#include <vector>

#include "model/forecast_steps.hpp"
#include "montecarlo/independent/year_record.hpp"

namespace adequacy::results {

struct MeanFigure {
    double mean = 0.0;
    double standardError = 0.0;  // NaN below two years
};

struct WeatherYearArea {
    MeanFigure lolh;
    MeanFigure lole;          // days short at any hour, as the report counts them
    MeanFigure lolePeakHour;  // days short at their peak hour, as the direct solutions
    MeanFigure mwhEue;
};

struct WeatherYearFigures {
    int weatherYear = 1;  // 1-based
    double weight = 0.0;
    int years = 0;  // simulated in this weather year
    double area1DemandMwh = 0.0;
    WeatherYearArea system;
    WeatherYearArea area1;
};

struct VariationFigures {
    std::vector<ForecastStep> steps;
    std::vector<WeatherYearFigures> weatherYears;
};

// Each year's figures weighted over its steps, grouped by weather year.
VariationFigures variationFigures(const independent::RunYears& run);

nlohmann::ordered_json variationJson(const VariationFigures& figures);

}  // namespace adequacy::results
