#pragma once

#include <optional>
#include <string>

namespace adequacy {

// Runs the whole program on the console and the report file OP; returns the
// exit status (fatal errors exit from within). With a results path, every
// figure of the run is also kept in that JSON file.
int runProgram(const std::optional<std::string>& jsonResultsPath = std::nullopt);

}  // namespace adequacy
