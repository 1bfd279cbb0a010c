#include "system/unit_lists.hpp"

#include <cmath>
#include <cstdio>

#include "montecarlo/units.hpp"
#include "system/system_limits.hpp"

namespace adequacy::system {
namespace {

std::string shownAs(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

float readRepairDays(const TomlSource& source, const toml::node& node, const std::string& name) {
    const double days = numberValue(source, node, name);
    const std::string written = " (is " + writtenValue(source, node) + ")";
    if (!(days > 0.0)) source.fail(node, name + ": must be above 0" + written);
    if (days > maxMttrDays)
        source.fail(node,
                    name + ": must be at most " + shownAs("%.0f", maxMttrDays) + " days" + written);
    return singlePrecisionValue(source, node, days);
}

// The simulation moves a unit at most once an hour, with its type's hourly
// repair and failure probabilities: the one is 1 / (repair hours), the other
// holds the outage share q and is q / (1 - q) / (repair hours). Neither may
// exceed 1, or the simulated unit would spend too few hours in its state.
void checkHourlyRates(const TomlSource& source, const toml::node& node, const std::string& name,
                      const UnitType& type) {
    const std::string written = " (is " + writtenValue(source, node) + ")";
    if (static_cast<double>(type.mttrDays) * hoursPerDay < 1.0)
        source.fail(node,
                    name + ": must be at least one hour, " + shownAs("%.7g", 1.0 / hoursPerDay) +
                        " days: the simulation repairs a unit in an hour at the soonest" + written);
    const UnitTypeRates rates =
        typeRates(type.forcedOutageRate, type.deratedProbability, type.mttrDays);
    if (!(rates.failProb > 1.0f)) return;
    const double q = static_cast<float>(static_cast<double>(type.forcedOutageRate) +
                                        static_cast<double>(type.deratedProbability));
    // Rounded up, so that the figure shown is enough when written in the file.
    const double hours = std::ceil(q / (1.0 - q) * 1e4) / 1e4;
    const double days = std::ceil(q / (1.0 - q) / hoursPerDay * 1e6) / 1e6;
    source.fail(node, name + ": must be at least " + shownAs("%.10g", hours) + " hours (" +
                          shownAs("%.10g", days) +
                          " days) for forced_outage_rate and derated_probability adding up to " +
                          shownAs("%.7g", q) +
                          ": a unit repaired sooner would have to fail more than once an hour" +
                          written);
}

UnitType readUnitType(const TomlSource& source, const toml::table& table,
                      const std::string& where) {
    rejectUnknownKeys(
        source, table, where,
        {"pmax_mw", "derated_mw", "forced_outage_rate", "derated_probability", "mttr_days"});
    const auto key = [&](std::string_view name) -> const toml::node& {
        return requiredKey(source, table, where, name);
    };
    UnitType type;
    type.pmaxMw =
        static_cast<int>(integerValue(source, key("pmax_mw"), keyPath(where, "pmax_mw"), 1, maxMw));
    type.deratedMw = static_cast<int>(
        integerValue(source, key("derated_mw"), keyPath(where, "derated_mw"), 0, type.pmaxMw));
    type.forcedOutageRate = realValue(source, key("forced_outage_rate"),
                                      keyPath(where, "forced_outage_rate"), 0.0, 1.0);
    const toml::node& derated = key("derated_probability");
    type.deratedProbability =
        realValue(source, derated, keyPath(where, "derated_probability"), 0.0, 1.0);
    // The decimals 0.15 and 0.85 are held just above their sum of 1.
    if (static_cast<double>(type.forcedOutageRate) + type.deratedProbability > 1.0 + 1e-6)
        source.fail(derated, where +
                                 ": forced_outage_rate and derated_probability add up to "
                                 "more than 1");
    const toml::node& mttr = key("mttr_days");
    const std::string mttrName = keyPath(where, "mttr_days");
    type.mttrDays = readRepairDays(source, mttr, mttrName);
    checkHourlyRates(source, mttr, mttrName, type);
    return type;
}

}  // namespace

std::string numbered(std::string_view name, std::size_t index0) {
    return std::string(name) + "[" + std::to_string(index0 + 1) + "]";
}

std::vector<UnitType> readUnitTypes(const TomlSource& source, const toml::table& root) {
    const toml::array& list =
        arrayValue(source, requiredKey(source, root, "", "unit_type"), "unit_type");
    if (list.empty()) source.fail(list, "unit_type: no unit types");
    if (list.size() > static_cast<std::size_t>(maxUnitTypes))
        source.fail(list[maxUnitTypes],
                    "unit_type: more than " + std::to_string(maxUnitTypes) + " unit types");
    std::vector<UnitType> types;
    for (std::size_t t = 0; t < list.size(); ++t) {
        const std::string where = numbered("unit_type", t);
        types.push_back(readUnitType(source, tableValue(source, list[t], where), where));
    }
    return types;
}

AreaUnits readArea(const TomlSource& source, const toml::table& root, const std::string& name,
                   int typeCount) {
    const toml::table& area = tableValue(source, requiredKey(source, root, "", name), name);
    rejectUnknownKeys(source, area, name, {"units", "repeat"});
    const std::string unitsName = keyPath(name, "units");
    const toml::array& units =
        arrayValue(source, requiredKey(source, area, name, "units"), unitsName);
    if (units.empty()) source.fail(units, unitsName + ": no units; an area needs at least one");
    if (units.size() > static_cast<std::size_t>(maxUnits))
        source.fail(units[maxUnits],
                    unitsName + ": more than " + std::to_string(maxUnits) + " units");
    AreaUnits result;
    result.line = lineOf(units);
    for (std::size_t u = 0; u < units.size(); ++u) {
        const std::string element = numbered(unitsName, u);
        if (!units[u].is_integer())
            source.fail(units[u], element + ": must be a type number (an integer), not " +
                                      typeName(units[u]));
        const std::int64_t number = units[u].as_integer()->get();
        if (number < 1 || number > typeCount)
            source.fail(units[u], element + ": there is no unit type " + std::to_string(number) +
                                      " (the file has types 1 to " + std::to_string(typeCount) +
                                      ")");
        result.typeIndices.push_back(static_cast<int>(number - 1));
    }
    if (const toml::node* repeat = area.get("repeat"))
        result.repeat = integerValue(source, *repeat, keyPath(name, "repeat"), 1, maxUnits);
    return result;
}

void appendArea(const TomlSource& source, const AreaUnits& area, const std::string& name,
                const std::vector<UnitType>& types, std::vector<int>& unitTypes) {
    const std::int64_t count = static_cast<std::int64_t>(area.typeIndices.size()) * area.repeat;
    if (static_cast<std::int64_t>(unitTypes.size()) + count > maxUnits)
        source.failAt(area.line, name + ": the system would have " +
                                     std::to_string(unitTypes.size() + count) + " units; at most " +
                                     std::to_string(maxUnits) + " are allowed");
    for (std::int64_t r = 0; r < area.repeat; ++r)
        unitTypes.insert(unitTypes.end(), area.typeIndices.begin(), area.typeIndices.end());
    std::int64_t capacity = 0;
    for (int t : unitTypes) capacity += types[static_cast<std::size_t>(t)].pmaxMw;
    if (capacity > maxMw)
        source.failAt(area.line, name + ": the installed capacity would be " +
                                     std::to_string(capacity) + " MW; at most " +
                                     std::to_string(maxMw) + " MW are allowed");
}

}  // namespace adequacy::system
