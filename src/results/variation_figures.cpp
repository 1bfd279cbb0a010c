#include "results/variation_figures.hpp"

#include <cmath>

#include "montecarlo/independent/year_steps.hpp"
#include "results/standard_error.hpp"

namespace adequacy::results {
namespace {

using json = nlohmann::ordered_json;
using independent::AreaYearFigures;
using independent::YearFigures;

struct AreaSpreads {
    RunningSpread lolh;
    RunningSpread lole;
    RunningSpread lolePeakHour;
    RunningSpread mwhEue;
};

MeanFigure meanFigure(const RunningSpread& spread) {
    const double n = spread.count;
    return {spread.mean, n > 1.0 ? std::sqrt(spread.sumOfSquares / (n - 1.0) / n) : std::nan("")};
}

void addArea(const independent::RunYears& run, std::size_t y, AreaYearFigures YearFigures::*side,
             AreaSpreads& spreads) {
    auto figure = [&](auto field) {
        return independent::weightedValue(run, y,
                                          [&](const YearFigures& f) { return field(f.*side); });
    };
    addValue(spreads.lolh, figure([](const AreaYearFigures& f) { return f.lolHours; }));
    addValue(spreads.lole, figure([](const AreaYearFigures& f) { return f.lolDays; }));
    addValue(spreads.lolePeakHour, figure([](const AreaYearFigures& f) { return f.peakHourDays; }));
    addValue(spreads.mwhEue, figure([](const AreaYearFigures& f) {
                 return static_cast<double>(f.unservedUnits) / independent::unitsPerMwh;
             }));
}

WeatherYearArea area(const AreaSpreads& spreads) {
    return {meanFigure(spreads.lolh), meanFigure(spreads.lole), meanFigure(spreads.lolePeakHour),
            meanFigure(spreads.mwhEue)};
}

json meanJson(const MeanFigure& figure) {
    return {{"mean", figure.mean}, {"standard_error", figure.standardError}};
}

json areaJson(const WeatherYearArea& area) {
    return {{"lolh", meanJson(area.lolh)},
            {"lole", meanJson(area.lole)},
            {"lole_peak_hour", meanJson(area.lolePeakHour)},
            {"mwh_eue", meanJson(area.mwhEue)}};
}

}  // namespace

VariationFigures variationFigures(const independent::RunYears& run) {
    const std::size_t weatherYears = run.cases.weatherWeights.size();
    std::vector<AreaSpreads> system(weatherYears);
    std::vector<AreaSpreads> area1(weatherYears);
    const auto steps = static_cast<std::size_t>(run.cases.stepCount());
    for (std::size_t y = 0; y < run.yearCount(); ++y) {
        const std::size_t w = run.years[y * steps].weatherYear;
        addArea(run, y, &YearFigures::system, system[w]);
        addArea(run, y, &YearFigures::area1, area1[w]);
    }
    VariationFigures figures;
    figures.steps = run.cases.steps;
    for (std::size_t w = 0; w < weatherYears; ++w)
        figures.weatherYears.push_back({static_cast<int>(w) + 1, run.cases.weatherWeights[w],
                                        system[w].lolh.count, run.cases.area1DemandMwh[w],
                                        area(system[w]), area(area1[w])});
    return figures;
}

json variationJson(const VariationFigures& figures) {
    json steps = json::array();
    for (const ForecastStep& step : figures.steps)
        steps.push_back({{"k", step.k}, {"scale", step.scale}, {"weight", step.weight}});
    json weatherYears = json::array();
    for (const WeatherYearFigures& w : figures.weatherYears)
        weatherYears.push_back({{"weather_year", w.weatherYear},
                                {"weight", w.weight},
                                {"years", w.years},
                                {"area1_demand_mwh", w.area1DemandMwh},
                                {"system", areaJson(w.system)},
                                {"area1", areaJson(w.area1)}});
    return {{"forecast_steps", steps}, {"weather_years", weatherYears}};
}

}  // namespace adequacy::results
