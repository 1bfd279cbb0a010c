#pragma once
// A data file that a system file names (hourly loads, a resource's output):
// found from the system file's folder when relative, read whole within the
// size an hourly file may have.

#include <string>

#include "system/toml_values.hpp"

namespace adequacy::system {

struct DataFile {
    std::string written;   // as the system file writes it
    std::string resolved;  // as opened
    std::string shown;     // for messages, controls escaped
    std::string text;
};

// The file named by the string at `node` (key `name`); a fault is the system
// file's error at that line.
DataFile readDataFile(const TomlSource& source, const toml::node& node, const std::string& name);

}  // namespace adequacy::system
