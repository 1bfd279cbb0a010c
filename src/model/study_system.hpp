#pragma once
// The system under study as the run receives it at start-up: unit types, the
// units of the two areas in the order in which they draw random numbers, the
// load model (or a chronological year of hourly loads) and the tie's ATC rows.
// Every size of the analysis follows from it; nothing in it changes once the
// analysis has started, except what the dialogs replace (load parameters and
// ATC rows), which the driver keeps as copies.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "direct/atc_table.hpp"
#include "model/loads.hpp"
#include "model/system_data.hpp"
#include "model/variation.hpp"

namespace adequacy {

struct UnitType {
    int pmaxMw = 0;
    int deratedMw = 0;
    float forcedOutageRate = 0.0f;
    float deratedProbability = 0.0f;
    float mttrDays = 0.0f;
};

// Chronological years read from a file: hour 1 of day 1 first, 8760 values
// a weather year in each array (MW), the area-0 load being their difference.
struct HourlyLoadYear {
    std::string path;  // as the user named it, for the console and report lines
    std::vector<float> total;
    std::vector<float> area1;
    std::string filePath = {};  // as opened: from the working directory, or absolute
};

struct StudySystem {
    std::string source = "built-in";  // "built-in" or the system file's path
    std::vector<UnitType> types;      // type number t (1-based) is types[t - 1]
    // One entry per unit, its 0-based type index, in simulation order: the
    // area-1 units first, then the area-0 units.
    std::vector<int> unitTypes;
    int area1UnitCount = 0;
    LoadParameters loadParameters{};
    std::array<float, 24> loadShape{};
    std::optional<HourlyLoadYear> hourlyLoads;  // when set, the load model is not used
    AtcTable atc{};
    std::vector<VariableResource> variables;
    std::vector<double> weatherWeights;  // empty: the weather years weigh alike
    std::vector<MaintenanceWindow> maintenance;
    std::optional<ForecastUncertainty> forecast;

    // The first key of the system file that needs the independent engine,
    // or nullptr: a system that varies from year to year.
    const char* varyingKey() const;
};

// The system built into the program: ten unit types in eleven identical
// blocks, block 1 being area 1.
StudySystem builtInSystem();

// The unit data of a system as the analysis reads it.
UnitTypes unitTypesOf(const StudySystem& system);

}  // namespace adequacy
