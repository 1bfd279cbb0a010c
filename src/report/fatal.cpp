#include "report/fatal.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace adequacy::report {
namespace {
Channel* reportChannel = nullptr;
}

void registerReportChannel(Channel* report) { reportChannel = report; }

[[noreturn]] void endProgram(int status) {
    std::fflush(stdout);
    if (reportChannel != nullptr && reportChannel->file != nullptr) {
        std::FILE* file = reportChannel->file;
        const std::string failure = "adequacy: " + reportChannel->name + ": close failed\n";
        reportChannel->file = nullptr;
        reportChannel = nullptr;
        if (std::fclose(file) != 0 && status == exitNormal) {
            std::fputs(failure.c_str(), stderr);
            status = exitIoError;
        }
    }
    std::exit(status);
}

[[noreturn]] void fatalIoError(std::string_view channelName, std::string_view failure) {
    std::string line = "adequacy: I/O error on ";
    line.append(channelName).append(": ").append(failure).append("\n");
    std::fputs(line.c_str(), stderr);
    endProgram(exitIoError);
}

}  // namespace adequacy::report
