#include "report/channel.hpp"

#include <cerrno>
#include <cstring>

#include "report/fatal.hpp"
#include "report/report_file.hpp"

namespace adequacy::report {

Channel consoleChannel() { return Channel{stdout, "console output", {}}; }

Channel captureChannel(std::string name) { return Channel{nullptr, std::move(name), {}}; }

void writeRecord(Channel& channel, std::string_view text) {
    if (channel.file == nullptr) {
        channel.captured.append(text);
        channel.captured.append("\r\n");
        return;
    }
    // A line-buffered stream (a terminal) reports a failing write only
    // through its error flag.
    bool ok = std::fwrite(text.data(), 1, text.size(), channel.file) == text.size() &&
              std::fwrite("\r\n", 1, 2, channel.file) == 2 && std::ferror(channel.file) == 0;
    if (!ok) fatalIoError(channel.name, std::string("write failed: ") + std::strerror(errno));
}

void flush(Channel& channel) {
    if (channel.blockDescriptor >= 0) writeBlock(channel);
    if (channel.file != nullptr && (std::fflush(channel.file) != 0 || std::ferror(channel.file)))
        fatalIoError(channel.name, std::string("write failed: ") + std::strerror(errno));
}

}  // namespace adequacy::report
