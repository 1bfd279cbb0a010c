#include "system/variation_keys.hpp"

#include <cmath>
#include <sstream>

#include "model/forecast_steps.hpp"
#include "model/load_cases.hpp"
#include "report/escaped_text.hpp"
#include "system/data_file.hpp"
#include "system/hourly_csv.hpp"
#include "system/system_limits.hpp"
#include "system/unit_lists.hpp"

namespace adequacy::system {
namespace {

// Weights may add up to 1 within this, as decimals written to a few places do.
constexpr double weightSumTolerance = 1e-6;

std::string yearsText(std::size_t years) {
    return std::to_string(years) + (years == 1 ? " weather year" : " weather years");
}

VariableResource readVariable(const TomlSource& source, const toml::node& node,
                              const std::string& where) {
    const toml::table& table = tableValue(source, node, where);
    rejectUnknownKeys(source, table, where, {"name", "area", "hourly"});
    VariableResource resource;
    const toml::node& name = requiredKey(source, table, where, "name");
    resource.name = stringValue(source, name, where + ".name");
    if (resource.name.empty() || report::holdsControls(resource.name))
        source.fail(name, where + ".name: must be a name of printable characters");
    resource.area = static_cast<int>(
        integerValue(source, requiredKey(source, table, where, "area"), where + ".area", 0, 1));
    const toml::node& hourly = requiredKey(source, table, where, "hourly");
    const DataFile file = readDataFile(source, hourly, where + ".hourly");
    std::istringstream in(file.text);
    resource.mw = readOutputCsv(in, file.shown);
    resource.path = file.written;
    resource.filePath = file.resolved;
    return resource;
}

// Every hourly file holds the weather years of the first one read: the
// loads' when they are hourly, else the first resource's.
void checkWeatherYears(const TomlSource& source, const toml::node& node, const std::string& where,
                       const VariableResource& resource, std::size_t expected,
                       const std::string& holder) {
    const std::size_t years = resource.mw.size() / hoursPerYear;
    if (years != expected)
        source.fail(node, where + ".hourly: " + yearsText(years) + ", where " + holder + " holds " +
                              std::to_string(expected) +
                              "; every hourly file holds the same weather years");
}

void readVariables(const TomlSource& source, const toml::table& root, StudySystem& system) {
    const toml::node* node = root.get("variable");
    if (node == nullptr) return;
    std::size_t years = 0;
    std::string holder;
    if (system.hourlyLoads) {
        years = system.hourlyLoads->total.size() / hoursPerYear;
        holder = "loads.hourly";
    }
    system.variables = readVariableList(source, root, years, holder);
}

void readWeather(const TomlSource& source, const toml::table& root, StudySystem& system) {
    const toml::node* node = root.get("weather");
    if (node == nullptr) return;
    const toml::table& weather = tableValue(source, *node, "weather");
    rejectUnknownKeys(source, weather, "weather", {"weights"});
    const toml::node& weightsNode = requiredKey(source, weather, "weather", "weights");
    const toml::array& weights = arrayValue(source, weightsNode, "weather.weights");
    const auto years = static_cast<std::size_t>(weatherYearsOf(system));
    if (weights.size() != years)
        source.fail(weightsNode, "weather.weights: " + std::to_string(weights.size()) +
                                     " weights for " + yearsText(years));
    double sum = 0.0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        const std::string name = numbered("weather.weights", i);
        const double weight = numberValue(source, weights[i], name);
        if (weight < 0.0 || weight > 1.0)
            source.fail(weights[i], name + ": must be between 0 and 1 (is " +
                                        writtenValue(source, weights[i]) + ")");
        system.weatherWeights.push_back(weight);
        sum += weight;
    }
    if (std::fabs(sum - 1.0) > weightSumTolerance)
        source.fail(weightsNode, "weather.weights: add up to " + std::to_string(sum) + ", not 1");
}

MaintenanceWindow readWindow(const TomlSource& source, const toml::node& node,
                             const std::string& where, int units) {
    const toml::table& table = tableValue(source, node, where);
    rejectUnknownKeys(source, table, where, {"unit", "first_day", "last_day"});
    MaintenanceWindow window;
    window.unit = static_cast<int>(integerValue(source, requiredKey(source, table, where, "unit"),
                                                where + ".unit", 1, units)) -
                  1;
    window.firstDay =
        static_cast<int>(integerValue(source, requiredKey(source, table, where, "first_day"),
                                      where + ".first_day", 1, daysPerYear));
    window.lastDay =
        static_cast<int>(integerValue(source, requiredKey(source, table, where, "last_day"),
                                      where + ".last_day", window.firstDay, daysPerYear));
    return window;
}

void readMaintenance(const TomlSource& source, const toml::table& root, StudySystem& system) {
    const toml::node* node = root.get("maintenance");
    if (node == nullptr) return;
    const toml::array& list = arrayValue(source, *node, "maintenance");
    const int units = static_cast<int>(system.unitTypes.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = numbered("maintenance", i);
        const MaintenanceWindow window = readWindow(source, list[i], where, units);
        for (std::size_t j = 0; j < system.maintenance.size(); ++j) {
            const MaintenanceWindow& other = system.maintenance[j];
            if (other.unit == window.unit && other.firstDay <= window.lastDay &&
                window.firstDay <= other.lastDay)
                source.fail(list[i], where + ": unit " + std::to_string(window.unit + 1) +
                                         " is already on maintenance from day " +
                                         std::to_string(other.firstDay) + " to day " +
                                         std::to_string(other.lastDay) + " (" +
                                         numbered("maintenance", j) + ")");
        }
        system.maintenance.push_back(window);
    }
}

}  // namespace

ForecastUncertainty readForecastUncertainty(const TomlSource& source, const toml::node& node) {
    const std::string where = "loads.forecast_uncertainty";
    const toml::table& table = tableValue(source, node, where);
    rejectUnknownKeys(source, table, where, {"sd_percent", "steps"});
    ForecastUncertainty uncertainty;
    const toml::node& sd = requiredKey(source, table, where, "sd_percent");
    uncertainty.sdPercent = numberValue(source, sd, where + ".sd_percent");
    if (uncertainty.sdPercent < 0.0 || uncertainty.sdPercent > 100.0)
        source.fail(sd, where + ".sd_percent: must be between 0 and 100 (is " +
                            writtenValue(source, sd) + ")");
    uncertainty.steps = static_cast<int>(integerValue(
        source, requiredKey(source, table, where, "steps"), where + ".steps", 1, maxForecastSteps));
    const double lowest = forecastSteps(uncertainty).front().scale;
    if (lowest < 0.0)
        source.fail(sd, where + ": the lowest of " + std::to_string(uncertainty.steps) +
                            " steps would scale the loads by " + std::to_string(lowest) +
                            ", below 0");
    return uncertainty;
}

std::vector<VariableResource> readVariableList(const TomlSource& source, const toml::table& root,
                                               std::size_t years, std::string holder) {
    std::vector<VariableResource> resources;
    const toml::node* node = root.get("variable");
    if (node == nullptr) return resources;
    const toml::array& list = arrayValue(source, *node, "variable");
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = numbered("variable", i);
        VariableResource resource = readVariable(source, list[i], where);
        const toml::table& table = *list[i].as_table();
        if (years == 0) {
            years = resource.mw.size() / hoursPerYear;
            holder = where + ".hourly";
        }
        checkWeatherYears(source, *table.get("hourly"), where, resource, years, holder);
        for (const VariableResource& earlier : resources)
            if (earlier.name == resource.name)
                source.fail(*table.get("name"),
                            where + ".name: \"" + resource.name + "\" names an earlier resource");
        resources.push_back(std::move(resource));
    }
    return resources;
}

void readVariation(const TomlSource& source, const toml::table& root, StudySystem& system) {
    readVariables(source, root, system);
    readWeather(source, root, system);
    readMaintenance(source, root, system);
}

}  // namespace adequacy::system
