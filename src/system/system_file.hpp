#pragma once
// Reads a system file (TOML): unit types, the units of each area, the loads
// and the tie's ATC rows. doc/system-file.md describes the format.

#include <string>
#include <variant>

#include "model/study_system.hpp"
#include "system/file_error.hpp"

namespace adequacy::system {

// The system, or the first fault found. Nothing is written anywhere: the
// caller reports the fault before it opens any output.
std::variant<StudySystem, SystemFileError> readSystemFile(const std::string& path);

// The same for a text already read; `path` names it in messages and is the
// folder an hourly-load file is found from.
std::variant<StudySystem, SystemFileError> readSystemText(const std::string& path,
                                                          std::string text);

}  // namespace adequacy::system
