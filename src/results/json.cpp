#include "results/json.hpp"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "report/escaped_text.hpp"
#include "report/fatal.hpp"
#include "results/results_file.hpp"
#include "results/standard_error.hpp"
#include "results/year_columns.hpp"

#ifndef ADEQUACY_VERSION
#define ADEQUACY_VERSION "unknown"
#endif

namespace adequacy::results {

namespace {

using json = nlohmann::ordered_json;

json grid(const MonthHourGrid& cells) {
    json months = json::array();
    for (int month = 0; month < monthsPerYear; ++month) {
        json hours = json::array();
        for (int hour = 0; hour < hoursPerDay; ++hour)
            hours.push_back(cells[static_cast<std::size_t>(month * hoursPerDay + hour)]);
        months.push_back(std::move(hours));
    }
    return months;
}

json loadParameters(const std::optional<LoadParameters>& parameters) {
    if (!parameters) return nullptr;
    static constexpr std::array<const char*, 7> names{"D1", "D2", "D3", "D4", "D5", "D6", "D7"};
    json d = json::object();
    for (std::size_t i = 0; i < names.size(); ++i) d[names[i]] = parameters->d[i];
    return d;
}

json indices(const AnnualIndices& i) {
    return {{"lolh", i.lolh},       {"lole", i.lole},      {"allr", i.allr},
            {"alolp", i.alolp},     {"mwh_eue", i.mwhEue}, {"mwh_total", i.mwhTotal},
            {"eue_ppm", i.puEueppm}};
}

json weatherYears(const std::vector<WeatherYearIndices>& years) {
    json result = json::array();
    for (std::size_t w = 0; w < years.size(); ++w) {
        json entry = {{"weather_year", w + 1}, {"weight", years[w].weight}};
        entry.update(indices(years[w].indices));
        result.push_back(std::move(entry));
    }
    return result;
}

json singleArea(const Results& results) {
    json entries = json::array();
    for (const SingleAreaEntry& entry : results.singleArea) {
        json e = indices(entry.indices);
        e["load_parameters"] = loadParameters(entry.loadParameters);
        e["peak_mw"] = entry.peakMw;
        e["reserve_margin_percent"] = entry.reserveMarginPercent;
        if (!entry.weatherYears.empty()) e["weather_years"] = weatherYears(entry.weatherYears);
        entries.push_back(std::move(e));
    }
    // The month x hour figures belong to the solution in force, the last one.
    if (!entries.empty())
        entries.back()["by_month_hour"] = {{"lol_hours", grid(results.singleAreaLolHours)}};
    return entries;
}

json area(const AreaSolution& solution) {
    json a = indices(solution.indices);
    a["reserve_margin_percent"] = solution.reserveMarginPercent;
    if (!solution.weatherYears.empty()) a["weather_years"] = weatherYears(solution.weatherYears);
    return a;
}

json asSimulated(const std::optional<Area1AsSimulated>& a) {
    if (!a) return nullptr;
    return {{"lolh", a->lolh}, {"lole", a->lole}, {"mwh_eue", a->mwhEue}, {"eue_ppm", a->puEueppm}};
}

json twoArea(const std::vector<TwoAreaEntry>& entries) {
    json result = json::array();
    for (const TwoAreaEntry& entry : entries) {
        json rows = json::array();
        for (std::size_t r = 0; r < entry.atc.mw.size(); ++r)
            rows.push_back({entry.atc.mw[r], entry.atc.probability[r]});
        json e = {{"atc", rows}, {"refused", entry.refused}};
        if (!entry.refused) {
            e["area1"] = area(entry.area1);
            e["area0"] = area(entry.area0);
        }
        e["area1_as_simulated"] = asSimulated(entry.area1AsSimulated);
        if (!entry.area1AsSimulatedByWeatherYear.empty()) {
            json years = json::array();
            for (const Area1AsSimulated& year : entry.area1AsSimulatedByWeatherYear)
                years.push_back(asSimulated(year));
            e["area1_as_simulated"]["weather_years"] = years;
        }
        result.push_back(std::move(e));
    }
    return result;
}

json simulated(const SimulatedIndex& index) {
    const Interval ci = confidence95(index.estimate, index.standardError);
    json sd = index.sdPercent ? json(*index.sdPercent) : json(nullptr);
    return {{"estimate", index.estimate},
            {"sd_percent", sd},
            {"standard_error", index.standardError},
            {"ci95", {ci.low, ci.high}}};
}

json simulatedArea(const SimulatedArea& area) {
    return {{"lolh", simulated(area[0])},
            {"lole", simulated(area[1])},
            {"alolp", simulated(area[2])},
            {"mwh_eue", simulated(area[3])}};
}

json tie(const std::vector<TieRow>& rows) {
    json result = json::array();
    for (const TieRow& row : rows) {
        json perYear = simulated(row.limitedPerYear);
        result.push_back({{"row", row.row},
                          {"mw", row.mw},
                          {"probability", row.probability},
                          {"limited_lol_hours", row.limitedLolHours},
                          {"sd_percent", perYear["sd_percent"]},
                          {"share_of_hours", row.shareOfHours},
                          {"limited_lol_hours_per_year",
                           {{"estimate", perYear["estimate"]},
                            {"standard_error", perYear["standard_error"]},
                            {"ci95", perYear["ci95"]}}}});
    }
    return result;
}

json report(const SimulationReport& r) {
    return {{"years", r.years},
            {"system", simulatedArea(r.system)},
            {"area1", simulatedArea(r.area1)},
            {"area1_eue_ppm", r.area1EueppM},
            {"tie", tie(r.tie)}};
}

json byMonthHour(const AreaByMonthHour& area) {
    return {{"lol_hours", grid(area.lolHours)}, {"unserved_mwh", grid(area.unservedMwh)}};
}

json convergenceValues(const ConvergenceValues& v) {
    return {{"lolh", {{"estimate", v.lolh}, {"standard_error", v.lolhStandardError}}},
            {"mwh_eue", {{"estimate", v.mwhEue}, {"standard_error", v.mwhEueStandardError}}}};
}

json annual(const AnnualDistribution& d) {
    return {{"mean", d.mean}, {"p50", d.p50}, {"p90", d.p90},
            {"p95", d.p95},   {"p99", d.p99}, {"worst_5_percent_mean", d.worst5Mean}};
}

json independentArea(const IndependentArea& a) {
    return {{"annual_lolh", annual(a.lolh)},
            {"annual_mwh_eue", annual(a.mwhEue)},
            {"events",
             {{"per_year", a.eventsPerYear},
              {"mean_hours", a.meanEventHours},
              {"mean_mwh", a.meanEventMwh}}},
            {"lole_peak_hour", simulated(a.lolePeakHour)}};
}

json monteCarloSection(const MonteCarloResults& monteCarlo);

json monteCarlo(const std::optional<MonteCarloResults>& monteCarlo) {
    if (!monteCarlo) return nullptr;
    return monteCarloSection(*monteCarlo);
}

json monteCarloSection(const MonteCarloResults& monteCarlo) {
    json reports = json::array();
    for (const SimulationReport& r : monteCarlo.reports) reports.push_back(report(r));
    json convergence = json::array();
    for (const ConvergencePoint& point : monteCarlo.convergence) {
        convergence.push_back({{"years", point.years},
                               {"system", convergenceValues(point.system)},
                               {"area1", convergenceValues(point.area1)}});
    }
    json result = {{"engine", monteCarlo.engine},
                   {"seed", monteCarlo.seed},
                   {"years_requested", monteCarlo.yearsRequested},
                   {"reports", reports},
                   {"by_month_hour",
                    {{"system", byMonthHour(monteCarlo.systemByMonthHour)},
                     {"area1", byMonthHour(monteCarlo.area1ByMonthHour)}}},
                   {"convergence", convergence}};
    const bool independent = monteCarlo.engine == "independent";
    if (independent) result["first_year"] = monteCarlo.firstYear;
    result["standard_errors"] = {{"method", independent                 ? "independent years"
                                            : monteCarlo.batchYears > 1 ? "batch means"
                                                                        : "years"},
                                 {"batch_years", monteCarlo.batchYears}};
    if (!independent) result["stream_periods"] = monteCarlo.streamPeriods;
    if (monteCarlo.independent)
        result["independent_years"] = {{"system", independentArea(monteCarlo.independent->system)},
                                       {"area1", independentArea(monteCarlo.independent->area1)}};
    if (monteCarlo.variation) result["variation"] = variationJson(*monteCarlo.variation);
    if (monteCarlo.years) result["years"] = yearColumns(*monteCarlo.years);
    return result;
}

}  // namespace

json programJson() { return {{"name", "adequacy"}, {"version", ADEQUACY_VERSION}}; }

json systemJson(const SystemInfo& system) {
    return {{"source", report::asUtf8(system.source)},
            {"units", system.units},
            {"capacity_mw",
             {{"total", system.totalCapacityMw},
              {"area1", system.area1CapacityMw},
              {"area0", system.area0CapacityMw}}}};
}

json variationJson(const VariationInfo& variation) {
    json resources = json::array();
    for (const VariationInfo::Resource& r : variation.variables)
        resources.push_back({{"name", report::asUtf8(r.name)},
                             {"area", r.area},
                             {"hourly", report::asUtf8(r.path)},
                             {"mean_mw", r.meanMw},
                             {"peak_mw", r.peakMw}});
    json steps = json::array();
    for (const ForecastStep& step : variation.forecastSteps)
        steps.push_back({{"k", step.k}, {"scale", step.scale}, {"weight", step.weight}});
    json windows = json::array();
    for (const MaintenanceWindow& w : variation.maintenance)
        windows.push_back(
            {{"unit", w.unit + 1}, {"first_day", w.firstDay}, {"last_day", w.lastDay}});
    return {{"weather_years", variation.weatherWeights.size()},
            {"weather_weights", variation.weatherWeights},
            {"variable", resources},
            {"forecast_steps", steps},
            {"maintenance", windows}};
}

json systemJson(const Results& results) {
    json system = systemJson(results.system);
    if (results.variation) system["variation"] = variationJson(*results.variation);
    return system;
}

json toJson(const Results& results) {
    return {{"program", programJson()},
            {"system", systemJson(results)},
            {"single_area", singleArea(results)},
            {"two_area", twoArea(results.twoArea)},
            {"monte_carlo", monteCarlo(results.monteCarlo)}};
}

std::string documentText(const json& document) {
    // Texts from outside come in escaped (asUtf8); should one ever slip
    // through, a replacement character is better than an abort.
    return document.dump(1, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string resultsText(const Results& results) { return documentText(toJson(results)); }

void writeJsonFile(const std::string& path, const json& document) {
    ResultsFile file;
    file.open(path);
    file.write(documentText(document));
}

void checkResultsDirectory(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "."
                                  : slash == 0               ? "/"
                                                             : path.substr(0, slash);
    if (::access(directory.c_str(), W_OK | X_OK) != 0)
        report::fatalIoError("results file " + path,
                             std::string("cannot be created: ") + std::strerror(errno));
}

nlohmann::ordered_json monteCarloJson(const MonteCarloResults& monteCarlo) {
    return monteCarloSection(monteCarlo);
}

}  // namespace adequacy::results
