#pragma once
// Printing and checking the ATC table, and the dialog that replaces it.

#include <string>
#include <string_view>

#include "direct/atc_table.hpp"
#include "driver/dialog_outcome.hpp"
#include "report/channel.hpp"
#include "report/console_input.hpp"
#include "report/list_input.hpp"

namespace adequacy {

// Prints the table, sets the two residue rows and returns false (after the
// warning) when one direction's probabilities add up to more than 1.
bool printAndCheckAtcTable(AtcTable& table, report::Channel& console, report::Channel& reportFile);

// Reads twenty values from a dialog answer into rows 1..10, as mw and
// probability pairs; columns 61..100 always hold twenty appended zeros.
report::ListOutcome readAtcAnswer(std::string_view answer, AtcTable& table);

// The console line as the answer is read: whatever was typed beyond column 60
// gives way to twenty zeros, so the answer never runs out of values.
std::string prepareAtcAnswer(std::string inputLine);

// True when the typed columns 1..60 of a prepared answer are all blank.
bool isBlankAtcAnswer(std::string_view prepared);

DialogOutcome runAtcDialog(AtcTable& table, report::Channel& console, report::ConsoleInput& input);

}  // namespace adequacy
