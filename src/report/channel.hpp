#pragma once
// Record-oriented text output. Every record, on the console and in the
// report file, ends with CR LF.

#include <cstdio>
#include <string>
#include <string_view>

namespace adequacy::report {

struct Channel {
    std::FILE* file = nullptr;  // null: records are kept in `captured`
    std::string name;           // named in fatal I/O messages
    std::string captured;
    // With no `file`: the descriptor to which each flush writes the records
    // kept in `captured` as one block (report_file.hpp).
    int blockDescriptor = -1;
    long long blockBytes = 0;  // bytes of the complete blocks written so far
    bool regularFile = false;  // cut back after a failed write; a device cannot be
};

Channel consoleChannel();                  // standard output
Channel captureChannel(std::string name);  // in memory, for tests and fuzzing

// Writes one record (the text and CR LF). A failing write is a fatal I/O error.
void writeRecord(Channel& channel, std::string_view text);
// Ends a block: every record written so far reaches the channel's file.
void flush(Channel& channel);

}  // namespace adequacy::report
