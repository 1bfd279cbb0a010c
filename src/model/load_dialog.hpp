#pragma once
// The dialog through which the user replaces the load parameters.

#include <string>
#include <string_view>

#include "driver/dialog_outcome.hpp"
#include "model/loads.hpp"
#include "report/channel.hpp"
#include "report/console_input.hpp"
#include "report/list_input.hpp"

namespace adequacy {

// Reads D1..D7 from a non-blank answer; each takes its value as soon as it
// is read.
report::ListOutcome readLoadAnswer(std::string_view answer, LoadParameters& parameters);

// What an answer that ran out of values lacks, and how to keep the rest.
std::string missingLoadValues(std::string_view answer);

DialogOutcome runLoadDialog(LoadParameters& parameters, report::Channel& console,
                            report::ConsoleInput& input);

}  // namespace adequacy
