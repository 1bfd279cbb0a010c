#pragma once
// The report file. A run holds it under an exclusive lock from before it is
// emptied until the program ends, so that a second run in the same directory
// cannot mix its lines into it. Records are kept in a buffer the program owns
// and each flush writes them as one block with one write, so that the file
// only ever ends with a complete block: an interrupt comes before or after a
// block, and a write that fails (a full disk, a file-size limit) is cut back
// to the end of the last complete block before the run ends.

#include <string>

#include "report/channel.hpp"

namespace adequacy::report {

// Opens the file at `path` for the channel named `name`, creating it if
// need be. A file that cannot be opened is a fatal I/O error; a file that
// another run holds ends the program with one line on standard error and
// leaves that run's file as it is.
Channel openReportFile(const std::string& path, std::string name);

// Writes the records kept since the last block as one block. A failing
// write cuts the file back to its last complete block and is fatal.
void writeBlock(Channel& report);

// Writes what is left as a last block, if `keepPending`, and closes the
// file. False if that write failed (the file is then cut back).
bool closeReportFile(Channel& report, bool keepPending);

}  // namespace adequacy::report
