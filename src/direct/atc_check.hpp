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

// The probabilities that the import and the export rows leave, 1 minus each
// direction's sum, formed in single precision row by row; a residue within
// the tolerance of 0 is 0. A negative one refuses the table.
struct AtcResidues {
    float importZero;
    float exportZero;
};
AtcResidues atcResidues(const AtcTable& table);

// Sets the two residue rows; false when one of them is negative, which
// refuses the table.
bool setAtcResidues(AtcTable& table);

// The simulated tie takes row 1 as its normal state, whatever it holds: a
// table with import rows must begin with one of positive probability, or the
// tie's shares of the rows are not the table's. Empty when it does.
std::string firstRowFault(const AtcTable& table);

// Prints the table, sets the two residue rows and returns false (after the
// warning) when one direction's probabilities add up to more than 1.
bool printAndCheckAtcTable(AtcTable& table, report::Channel& console, report::Channel& reportFile);

// The columns of an answer that count; the rest give way to zeros.
inline constexpr std::size_t atcTypedColumns = 60;

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
