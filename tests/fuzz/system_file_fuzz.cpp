// Any text as a system file: the reader either refuses it with one line that
// starts with the file's name, or returns a system within every bound the
// analysis relies on.

#include <cmath>
#include <cstdint>
#include <string>

#include "model/forecast_steps.hpp"
#include "model/load_cases.hpp"
#include "montecarlo/units.hpp"
#include "system/system_file.hpp"
#include "system/system_limits.hpp"

namespace {

using namespace adequacy;

void require(bool condition) {
    if (!condition) __builtin_trap();
}

bool isProbability(float p) { return p >= 0.0f && p <= 1.0f; }

void checkTypes(const StudySystem& system) {
    require(!system.types.empty() &&
            system.types.size() <= static_cast<std::size_t>(system::maxUnitTypes));
    for (const UnitType& type : system.types) {
        require(type.pmaxMw >= 1 && type.pmaxMw <= system::maxMw);
        require(type.deratedMw >= 0 && type.deratedMw <= type.pmaxMw);
        require(isProbability(type.forcedOutageRate) && isProbability(type.deratedProbability));
        require(static_cast<double>(type.forcedOutageRate) + type.deratedProbability <= 1.0 + 1e-6);
        require(type.mttrDays * 24.0 >= 1.0 && type.mttrDays <= system::maxMttrDays);
        // The simulation's hourly probabilities are probabilities.
        const UnitTypeRates rates =
            typeRates(type.forcedOutageRate, type.deratedProbability, type.mttrDays);
        require(isProbability(rates.repairProb) && isProbability(rates.failProb));
    }
}

void checkUnits(const StudySystem& system) {
    const auto count = static_cast<int>(system.unitTypes.size());
    require(count <= system::maxUnits);
    require(system.area1UnitCount >= 1 && system.area1UnitCount < count);
    long long capacity = 0;
    for (int t : system.unitTypes) {
        require(t >= 0 && t < static_cast<int>(system.types.size()));
        capacity += system.types[static_cast<std::size_t>(t)].pmaxMw;
    }
    require(capacity <= system::maxMw);
}

void checkLoadsAndTie(const StudySystem& system) {
    for (float d : system.loadParameters.d) require(std::isfinite(d));
    for (float u : system.loadShape) require(std::isfinite(u));
    if (system.hourlyLoads) {
        const std::size_t rows = system.hourlyLoads->total.size();
        require(rows >= 8760 && rows % 8760 == 0 && system.hourlyLoads->area1.size() == rows);
        for (std::size_t h = 0; h < rows; ++h)
            require(system.hourlyLoads->area1[h] <= system.hourlyLoads->total[h]);
    }
    for (std::size_t r = 0; r < system.atc.mw.size(); ++r) {
        require(std::isfinite(system.atc.mw[r]) && isProbability(system.atc.probability[r]));
        if (r >= 10) require(system.atc.mw[r] == 0.0f && system.atc.probability[r] == 0.0f);
    }
}

// Every hourly series of the same weather years, weights adding up to 1,
// maintenance within the year and the units, no forecast step below 0.
void checkVariation(const StudySystem& system) {
    const auto years = static_cast<std::size_t>(weatherYearsOf(system));
    for (const VariableResource& r : system.variables) {
        require(r.mw.size() == years * 8760 && (r.area == 0 || r.area == 1));
        for (float mw : r.mw) require(mw >= 0.0f && mw <= static_cast<float>(system::maxMw));
    }
    if (!system.weatherWeights.empty()) {
        require(system.weatherWeights.size() == years);
        double sum = 0.0;
        for (double w : system.weatherWeights) sum += w;
        require(std::fabs(sum - 1.0) <= 1e-6);
    }
    for (const MaintenanceWindow& w : system.maintenance)
        require(w.unit >= 0 && w.unit < static_cast<int>(system.unitTypes.size()) &&
                w.firstDay >= 1 && w.firstDay <= w.lastDay && w.lastDay <= 365);
    if (system.forecast) require(forecastSteps(*system.forecast).front().scale >= 0.0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A folder that does not exist: hourly-load files named relative to the
    // system file are never found.
    const std::string path = "/nonexistent-fuzz-folder/system.toml";
    auto result =
        system::readSystemText(path, std::string(reinterpret_cast<const char*>(data), size));
    if (auto* error = std::get_if<system::SystemFileError>(&result)) {
        const std::string message = system::describe(*error);
        require(message.find('\n') == std::string::npos && message.find('\r') == std::string::npos);
        require(!error->what.empty());
        return 0;
    }
    const StudySystem& system = std::get<StudySystem>(result);
    checkTypes(system);
    checkUnits(system);
    checkLoadsAndTie(system);
    checkVariation(system);
    return 0;
}
