#include "model/study_system.hpp"

#include "model/system_data.hpp"

namespace adequacy {

StudySystem builtInSystem() {
    const UnitTypes data = builtInUnitTypes();
    StudySystem system;
    for (int t = 0; t < unitTypeCount; ++t)
        system.types.push_back(UnitType{data.pmax[t], data.deratedMw[t], data.forcedOutageRate[t],
                                        data.deratedProbability[t], data.mttrDays[t]});
    for (int u = 0; u < unitCount; ++u) system.unitTypes.push_back(typeOfUnit(u));
    system.area1UnitCount = area1UnitCount;
    system.loadParameters = builtInLoadParameters();
    system.loadShape = builtInLoadShape();
    system.atc = builtInAtcTable();
    return system;
}

}  // namespace adequacy
