#pragma once
// Reads a file of candidate units (TOML): unit types as in a system file, and
// the units that join area 1 and area 0. doc/system-file.md describes it.

#include <string>
#include <variant>

#include "model/candidate.hpp"
#include "system/file_error.hpp"

namespace adequacy::system {

// The candidate, or the first fault found, named as a system file's are.
std::variant<CandidateUnits, SystemFileError> readCandidateFile(const std::string& path);
std::variant<CandidateUnits, SystemFileError> readCandidateText(const std::string& path,
                                                                std::string text);

// What keeps the system and the candidate together within the limits of a
// system file; empty when they fit.
std::string combinedFault(const StudySystem& system, const CandidateUnits& candidate);

}  // namespace adequacy::system
