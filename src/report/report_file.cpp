#include "report/report_file.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "report/fatal.hpp"

namespace adequacy::report {
namespace {

// Far more than the largest block a phase writes; a larger one still goes
// out whole, the buffer growing to hold it.
constexpr std::size_t blockBufferBytes = 64 * 1024;

std::string reason(int error) { return std::strerror(error); }

// Writes the whole buffer; false with errno set when the file takes less.
bool writeAll(int descriptor, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// Writes the pending records; on failure the file is cut back to its last
// complete block, closed, and the reason returned.
int writePending(Channel& report) {
    if (report.captured.empty()) return 0;
    if (writeAll(report.blockDescriptor, report.captured)) {
        report.blockBytes += static_cast<long long>(report.captured.size());
        report.captured.clear();
        return 0;
    }
    const int error = errno;
    // Shrinking a file needs no space, and a size below the limit is allowed.
    if (report.regularFile &&
        ::ftruncate(report.blockDescriptor, static_cast<off_t>(report.blockBytes)) != 0) {
        std::fprintf(stderr, "adequacy: %s: cannot cut back to its last complete block: %s\n",
                     report.name.c_str(), std::strerror(errno));
    }
    report.captured.clear();
    ::close(report.blockDescriptor);
    report.blockDescriptor = -1;
    return error;
}

void lockAndEmpty(int descriptor, const std::string& name) {
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(descriptor);
        if (error == EWOULDBLOCK) fileInUse(name);
        fatalIoError(name, "cannot lock: " + reason(error));
    }
    if (::ftruncate(descriptor, 0) != 0) {
        const int error = errno;
        ::close(descriptor);
        fatalIoError(name, "cannot empty: " + reason(error));
    }
}

}  // namespace

Channel openReportFile(const std::string& path, std::string name) {
    Channel report;
    report.name = std::move(name);
    // Not truncated on opening: the file may be another run's, still in use.
    int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) fatalIoError(report.name, "cannot create: " + reason(errno));
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        const int error = errno;
        ::close(descriptor);
        fatalIoError(report.name, "cannot examine: " + reason(error));
    }
    // A device or FIFO (-o /dev/null) is written as it is: not locked, which
    // would keep other runs off /dev/null, and not emptied.
    report.regularFile = S_ISREG(status.st_mode);
    if (report.regularFile) lockAndEmpty(descriptor, report.name);
    report.blockDescriptor = descriptor;
    report.captured.reserve(blockBufferBytes);
    return report;
}

void writeBlock(Channel& report) {
    if (report.blockDescriptor < 0) return;
    if (int error = writePending(report); error != 0)
        fatalIoError(report.name, "write failed: " + reason(error));
}

bool closeReportFile(Channel& report, bool keepPending) {
    if (report.blockDescriptor < 0) return true;
    if (!keepPending) report.captured.clear();
    if (int error = writePending(report); error != 0) {
        std::fprintf(stderr, "adequacy: I/O error on %s: write failed: %s\n", report.name.c_str(),
                     std::strerror(error));
        return false;
    }
    const bool closed = ::close(report.blockDescriptor) == 0;
    report.blockDescriptor = -1;
    return closed;
}

}  // namespace adequacy::report
