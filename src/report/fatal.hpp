#pragma once
// Fatal I/O errors: one line on standard error naming the failure and the
// channel, the report file flushed and closed, then exit.

#include <string_view>

#include "report/channel.hpp"

namespace adequacy::report {

enum ExitStatus : int {
    exitNormal = 0,
    exitAnalysisStopped = 1,  // end sequence after a read error or invalid data
    exitIoError = 2,
};

// The report file is flushed and closed on every fatal exit.
void registerReportChannel(Channel* report);

[[noreturn]] void fatalIoError(std::string_view channelName, std::string_view failure);

// An output that another run holds locked: one line on standard error, and
// the end of the run, whose own report is kept.
[[noreturn]] void fileInUse(std::string_view channelName);

// One line on standard error; the report keeps its complete blocks only.
[[noreturn]] void fatalOutOfMemory();

// Flushes the console, writes the report's last lines and closes it, then
// exits with `status` (2 if the console or the report fails on the way).
[[noreturn]] void endProgram(int status);

}  // namespace adequacy::report
