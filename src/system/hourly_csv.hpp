#pragma once
// Hourly CSV files: one weather year is 8760 data rows, hour 1 of day 1
// first, and a file holds one or more whole weather years; one header line
// is allowed. Loads are rows "total_mw,area1_mw", a variable resource's
// output rows of one value, "mw".

#include <istream>
#include <string>
#include <vector>

#include "model/study_system.hpp"

namespace adequacy::system {

// Reads the opened file `filePath`; errors name it, the line and the data
// row. The year's path is set to `userPath`, the name as written in the
// system file. Throws SystemFileFailure.
HourlyLoadYear readHourlyCsv(std::istream& in, const std::string& filePath,
                             const std::string& userPath);

// A variable resource's output, MW hour by hour over the weather years.
std::vector<float> readOutputCsv(std::istream& in, const std::string& filePath);

}  // namespace adequacy::system
