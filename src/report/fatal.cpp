#include "report/fatal.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "report/report_file.hpp"

namespace adequacy::report {
namespace {

Channel* reportChannel = nullptr;

// The console's last lines go out first; a console that cannot take them
// makes the run's end a failure, as any failing console write does.
int flushConsole(int status) {
    const bool failed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    if (!failed || status == exitIoError) return status;
    std::fprintf(stderr, "adequacy: I/O error on console output: write failed: %s\n",
                 std::strerror(errno));
    return exitIoError;
}

[[noreturn]] void finish(int status, bool keepPending) {
    status = flushConsole(status);
    if (reportChannel != nullptr) {
        Channel* report = reportChannel;
        reportChannel = nullptr;
        if (!closeReportFile(*report, keepPending)) status = exitIoError;
    }
    std::exit(status);
}

}  // namespace

void registerReportChannel(Channel* report) { reportChannel = report; }

[[noreturn]] void endProgram(int status) { finish(status, true); }

[[noreturn]] void fatalIoError(std::string_view channelName, std::string_view failure) {
    std::string line = "adequacy: I/O error on ";
    line.append(channelName).append(": ").append(failure).append("\n");
    std::fputs(line.c_str(), stderr);
    endProgram(exitIoError);
}

[[noreturn]] void fileInUse(std::string_view channelName) {
    std::string line = "adequacy: ";
    line.append(channelName).append(" is in use by another run\n");
    std::fputs(line.c_str(), stderr);
    endProgram(exitIoError);
}

[[noreturn]] void fatalOutOfMemory() {
    // Nothing here may allocate: the message goes out as it stands, and the
    // block being rendered, perhaps cut short, is dropped.
    static constexpr char message[] = "adequacy: out of memory\n";
    ssize_t ignored = ::write(STDERR_FILENO, message, sizeof message - 1);
    (void)ignored;
    finish(exitIoError, false);
}

}  // namespace adequacy::report
