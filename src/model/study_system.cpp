#include "model/study_system.hpp"

#include "model/system_data.hpp"

namespace adequacy {

UnitTypes builtInUnitTypes() {
    UnitTypes units;
    units.pmax = {5, 10, 13, 22, 43, 57, 101, 198, 248, 276};
    units.deratedMw = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    units.forcedOutageRate = {0.15f, 0.10f, 0.09f, 0.07f, 0.06f, 0.05f, 0.04f, 0.04f, 0.04f, 0.04f};
    units.deratedProbability = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    units.mttrDays = {5.0f, 5.0f, 5.0f, 7.0f, 7.0f, 14.0f, 21.0f, 28.0f, 28.0f, 42.0f};
    for (int u = 0; u < builtInTypeCount * builtInBlockCount; ++u)
        units.unitType.push_back(u % builtInTypeCount);
    units.area1UnitCount = builtInTypeCount;  // block 1
    return units;
}

UnitTypes unitTypesOf(const StudySystem& system) {
    UnitTypes units;
    for (const UnitType& type : system.types) {
        units.pmax.push_back(type.pmaxMw);
        units.deratedMw.push_back(type.deratedMw);
        units.forcedOutageRate.push_back(type.forcedOutageRate);
        units.deratedProbability.push_back(type.deratedProbability);
        units.mttrDays.push_back(type.mttrDays);
    }
    units.unitType = system.unitTypes;
    units.area1UnitCount = system.area1UnitCount;
    return units;
}

const char* StudySystem::varyingKey() const {
    if (!variables.empty()) return "variable";
    if (hourlyLoads && hourlyLoads->total.size() > static_cast<std::size_t>(hoursPerYear))
        return "loads.hourly";
    if (!weatherWeights.empty()) return "weather";
    if (!maintenance.empty()) return "maintenance";
    if (forecast) return "loads.forecast_uncertainty";
    return nullptr;
}

StudySystem builtInSystem() {
    const UnitTypes data = builtInUnitTypes();
    StudySystem system;
    for (int t = 0; t < data.typeCount(); ++t) {
        auto i = static_cast<std::size_t>(t);
        system.types.push_back(UnitType{data.pmax[i], data.deratedMw[i], data.forcedOutageRate[i],
                                        data.deratedProbability[i], data.mttrDays[i]});
    }
    system.unitTypes = data.unitType;
    system.area1UnitCount = data.area1UnitCount;
    system.loadParameters = builtInLoadParameters();
    system.loadShape = builtInLoadShape();
    system.atc = builtInAtcTable();
    return system;
}

}  // namespace adequacy
