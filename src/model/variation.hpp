#pragma once
// What makes a system's years differ from one another: resources whose
// output follows the weather, several weather years, planned maintenance and
// the uncertainty of the load forecast. A system with none of them is one
// year of loads and units always in service, as it always was.

#include <string>
#include <vector>

namespace adequacy {

// Output hour by hour for every weather year: weatherYears x 8760 MW values,
// weather year 1 first. It draws no random numbers; its output is capacity
// in its area in its hour, which the analysis takes off the area's load.
struct VariableResource {
    std::string name;
    int area = 0;      // 1 or 0
    std::string path;  // as written in the system file
    std::vector<float> mw;
    std::string filePath = {};  // as opened
};

// A unit out for planned maintenance from the start of `firstDay` to the
// end of `lastDay` (1..365, inclusive): it gives no capacity then, while
// its chain of forced outages runs on.
struct MaintenanceWindow {
    int unit = 0;  // 0-based, in simulation order (area 1's units first)
    int firstDay = 1;
    int lastDay = 1;
};

// Every hour's load, the whole system's and area 1's, is scaled by 1 + k s
// for the steps k of a discretised normal distribution (forecast_steps.hpp),
// s being sdPercent / 100.
struct ForecastUncertainty {
    double sdPercent = 0.0;
    int steps = 1;
};

}  // namespace adequacy
