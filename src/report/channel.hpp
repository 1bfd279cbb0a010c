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
};

Channel consoleChannel();                  // standard output
Channel captureChannel(std::string name);  // in memory, for tests and fuzzing

// Writes one record (the text and CR LF). A failing write is a fatal I/O error.
void writeRecord(Channel& channel, std::string_view text);
void flush(Channel& channel);

}  // namespace adequacy::report
