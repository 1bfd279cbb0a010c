#pragma once
// A chronological year of hourly loads from a CSV file: 8760 data rows
// "total_mw,area1_mw", hour 1 of day 1 first, one header line allowed.

#include <istream>
#include <string>

#include "model/study_system.hpp"

namespace adequacy::system {

// Reads the opened file `filePath`; errors name it, the line and the data
// row. The year's path is set to `userPath`, the name as written in the
// system file. Throws SystemFileFailure.
HourlyLoadYear readHourlyCsv(std::istream& in, const std::string& filePath,
                             const std::string& userPath);

}  // namespace adequacy::system
