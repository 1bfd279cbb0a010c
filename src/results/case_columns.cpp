#include "results/case_columns.hpp"

#include <vector>

namespace adequacy::results {
namespace {

using json = nlohmann::ordered_json;
using independent::RunYears;

std::string encodeWeatherYears(const RunYears& run) {
    std::string text;
    const auto steps = static_cast<std::size_t>(run.cases.stepCount());
    for (std::size_t y = 0; y < run.yearCount();) {
        const int w = run.years[y * steps].weatherYear;
        std::size_t same = 1;
        while (y + same < run.yearCount() && run.years[(y + same) * steps].weatherYear == w) ++same;
        if (!text.empty()) text.push_back(',');
        if (same > 1) text.append(std::to_string(same)).push_back('*');
        text.append(std::to_string(w + 1));
        y += same;
    }
    return text;
}

bool readNumbers(const json& from, std::vector<double>& into) {
    if (!from.is_array()) return false;
    for (const json& value : from) {
        if (!value.is_number()) return false;
        into.push_back(value.get<double>());
    }
    return true;
}

// Weather year numbers 1..W, as the column writes them: runs r*w.
bool readWeatherYears(const std::string& text, RunYears& run) {
    std::size_t y = 0;
    std::size_t start = 0;
    const std::size_t weatherYears = run.cases.weatherWeights.size();
    const auto steps = static_cast<std::size_t>(run.cases.stepCount());
    while (start < text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        const std::string item = text.substr(start, comma - start);
        const std::size_t star = item.find('*');
        std::size_t same = 1;
        std::size_t w = 0;
        try {
            if (star != std::string::npos) same = std::stoul(item.substr(0, star));
            w = std::stoul(star == std::string::npos ? item : item.substr(star + 1));
        } catch (const std::exception&) {
            return false;
        }
        if (w < 1 || w > weatherYears || same > run.yearCount() - y) return false;
        for (std::size_t k = 0; k < same; ++k, ++y)
            for (std::size_t s = 0; s < steps; ++s)
                run.years[y * steps + s].weatherYear = static_cast<std::uint16_t>(w - 1);
        start = comma + 1;
    }
    return y == run.yearCount();
}

}  // namespace

void addCaseColumns(const RunYears& run, json& columns) {
    columns["weather_year"] = encodeWeatherYears(run);
    json steps = json::array();
    for (const ForecastStep& step : run.cases.steps)
        steps.push_back({{"k", step.k}, {"scale", step.scale}, {"weight", step.weight}});
    columns["cases"] = {{"weather_weights", run.cases.weatherWeights},
                        {"area1_demand_mwh", run.cases.area1DemandMwh},
                        {"forecast_steps", steps}};
}

std::string readCaseColumns(const json& columns, RunYears& run) {
    if (!columns.contains("cases")) return "";
    const json& cases = columns["cases"];
    if (!cases.is_object() ||
        !readNumbers(cases.value("weather_weights", json()), run.cases.weatherWeights) ||
        !readNumbers(cases.value("area1_demand_mwh", json()), run.cases.area1DemandMwh) ||
        run.cases.weatherWeights.empty() ||
        run.cases.weatherWeights.size() != run.cases.area1DemandMwh.size())
        return "the weather years' weights and demands are missing";
    run.cases.steps.clear();
    for (const json& step : cases.value("forecast_steps", json::array()))
        run.cases.steps.push_back(
            {step.value("k", 0.0), step.value("scale", 1.0), step.value("weight", 1.0)});
    if (run.cases.steps.empty() || run.years.size() % run.cases.steps.size() != 0 ||
        (run.cases.steps.size() > 1) != !run.stepTotals.empty())
        return "the forecast steps do not match the years' columns";
    const json& column = columns.value("weather_year", json());
    if (!column.is_string() || !readWeatherYears(column.get<std::string>(), run))
        return "column weather_year does not hold the years";
    return "";
}

RunYears stepYears(const RunYears& run, std::size_t step) {
    RunYears one;
    one.firstYear = run.firstYear;
    const auto steps = static_cast<std::size_t>(run.cases.stepCount());
    for (std::size_t y = 0; y < run.yearCount(); ++y)
        one.years.push_back(run.years[y * steps + step]);
    one.systemByMonthHour = run.stepTotals[step].systemByMonthHour;
    one.area1ByMonthHour = run.stepTotals[step].area1ByMonthHour;
    return one;
}

}  // namespace adequacy::results
