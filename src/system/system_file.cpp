#include "system/system_file.hpp"

#include <memory>
#include <sstream>

#include "direct/atc_check.hpp"
#include "model/load_check.hpp"
#include "system/data_file.hpp"
#include "system/file_text.hpp"
#include "system/hourly_csv.hpp"
#include "system/system_limits.hpp"
#include "system/toml_values.hpp"
#include "system/unit_lists.hpp"
#include "system/variation_keys.hpp"

namespace adequacy::system {
namespace {

template <std::size_t N>
std::array<float, N> readReals(const TomlSource& source, const toml::node& node,
                               const std::string& name, const char* meaning, double min,
                               double max) {
    const toml::array& list = arrayValue(source, node, name);
    if (list.size() != N)
        source.fail(list, name + ": must hold " + std::to_string(N) + " values (" + meaning +
                              "), not " + std::to_string(list.size()));
    std::array<float, N> values{};
    for (std::size_t i = 0; i < N; ++i)
        values[i] = realValue(source, list[i], numbered(name, i), min, max);
    return values;
}

HourlyLoadYear readHourlyFile(const TomlSource& source, const toml::node& node) {
    const DataFile file = readDataFile(source, node, "loads.hourly");
    std::istringstream in(file.text);
    HourlyLoadYear year = readHourlyCsv(in, file.shown, file.written);
    year.filePath = file.resolved;
    return year;
}

void readLoads(const TomlSource& source, const toml::table& root, StudySystem& system) {
    const toml::table& loads = tableValue(source, requiredKey(source, root, "", "loads"), "loads");
    rejectUnknownKeys(source, loads, "loads",
                      {"parameters", "shape", "hourly", "forecast_uncertainty"});
    if (const toml::node* forecast = loads.get("forecast_uncertainty"))
        system.forecast = readForecastUncertainty(source, *forecast);
    if (const toml::node* hourly = loads.get("hourly")) {
        for (const char* other : {"parameters", "shape"})
            if (const toml::node* node = loads.get(other))
                source.fail(*node, std::string("loads.") + other +
                                       ": not used with hourly loads; give one or the other");
        system.hourlyLoads = readHourlyFile(source, *hourly);
        return;
    }
    const toml::node* parameters = loads.get("parameters");
    if (parameters == nullptr)
        source.failAt(std::max(lineOf(loads), 1),
                      "loads: missing key parameters (or hourly, for a year of hourly loads)");
    system.loadParameters.d =
        readReals<7>(source, *parameters, "loads.parameters", "D1 to D7", 0.0, maxMw);
    system.loadShape = builtInLoadShape();
    if (const toml::node* shape = loads.get("shape"))
        system.loadShape = readReals<hoursPerDay>(source, *shape, "loads.shape", "hours 1 to 24",
                                                  0.0, maxShapeValue);
    auto hourly = std::make_unique<HourlyLoads>();
    computeHourlyLoads(system.loadParameters, system.loadShape, *hourly);
    if (const std::string fault = loadFault(*hourly); !fault.empty())
        source.fail(*parameters, "loads.parameters: with the shape, these give " + fault);
}

// Left out, the tie carries nothing: rows 1 to 10 stay empty.
AtcTable readAtc(const TomlSource& source, const toml::table& root) {
    AtcTable atc{};
    const toml::node* node = root.get("atc");
    if (node == nullptr) return atc;
    const toml::array& rows = arrayValue(source, *node, "atc");
    if (rows.size() > static_cast<std::size_t>(maxAtcRows))
        source.fail(rows[maxAtcRows], "atc: more than " + std::to_string(maxAtcRows) + " rows");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::string where = numbered("atc", r);
        const toml::table& row = tableValue(source, rows[r], where);
        rejectUnknownKeys(source, row, where, {"mw", "probability"});
        atc.mw[r] = realValue(source, requiredKey(source, row, where, "mw"), where + ".mw",
                              -static_cast<double>(maxMw), maxMw);
        atc.probability[r] = realValue(source, requiredKey(source, row, where, "probability"),
                                       where + ".probability", 0.0, 1.0);
    }
    return atc;
}

// The run's own check of the table, so that a table accepted here is never
// refused there.
void checkAtcDirections(const TomlSource& source, const toml::table& root, const AtcTable& atc) {
    const toml::node* node = root.get("atc");
    if (node == nullptr) return;
    const AtcResidues residues = atcResidues(atc);
    if (residues.importZero < 0.0f)
        source.fail(*node, "atc: the import rows' (mw > 0) probabilities add up to more than 1");
    if (residues.exportZero < 0.0f)
        source.fail(*node, "atc: the export rows' (mw < 0) probabilities add up to more than 1");
    if (const std::string fault = firstRowFault(atc); !fault.empty())
        source.fail(*node->as_array()->get(0), "atc[1]: " + fault);
}

StudySystem readSystem(const std::string& path, std::string text) {
    const TomlSource source(path, std::move(text));
    const toml::table root = parseSource(source, "system file");
    rejectUnknownKeys(
        source, root, "",
        {"unit_type", "area1", "area0", "loads", "atc", "variable", "weather", "maintenance"});
    StudySystem system;
    system.source = path;
    system.types = readUnitTypes(source, root);
    const int typeCount = static_cast<int>(system.types.size());
    const AreaUnits area1 = readArea(source, root, "area1", typeCount);
    const AreaUnits area0 = readArea(source, root, "area0", typeCount);
    appendArea(source, area1, "area1", system.types, system.unitTypes);
    system.area1UnitCount = static_cast<int>(system.unitTypes.size());
    appendArea(source, area0, "area0", system.types, system.unitTypes);
    readLoads(source, root, system);
    system.atc = readAtc(source, root);
    checkAtcDirections(source, root, system.atc);
    readVariation(source, root, system);
    return system;
}

}  // namespace

std::variant<StudySystem, SystemFileError> readSystemFile(const std::string& path) {
    FileText file = readFileText(path, maxSystemFileBytes);
    if (!file.problem.empty()) return SystemFileError{path, 0, file.problem};
    return readSystemText(path, std::move(file.text));
}

std::variant<StudySystem, SystemFileError> readSystemText(const std::string& path,
                                                          std::string text) {
    try {
        return readSystem(path, std::move(text));
    } catch (const SystemFileFailure& failure) {
        return failure.error;
    }
}

}  // namespace adequacy::system
