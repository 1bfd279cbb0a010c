#pragma once
// Outputs that would destroy data: a report and a results file that are one
// file, or an output that is the system file or its hourly loads. Found from
// the names alone, before anything is opened.

#include <optional>
#include <string>

#include "driver/options.hpp"
#include "model/study_system.hpp"

namespace adequacy {

// The line that says which output clashes with what, or none.
std::optional<std::string> outputClash(const Options& options, const StudySystem& system);

}  // namespace adequacy
