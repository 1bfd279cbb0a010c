#include "system/file_text.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace adequacy::system {
namespace {

// Why a file of this kind is not read: a FIFO or a terminal would block the
// run at the open or the first read, a device might never end.
std::string notReadable(mode_t mode) {
    if (S_ISDIR(mode)) return "is a folder, not a file";
    return "is not a regular file";
}

std::string failure(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

FileText readFileText(const std::string& path, long maxBytes) {
    FileText result;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        result.problem = failure("cannot open");
        return result;
    }
    if (!S_ISREG(status.st_mode)) {
        result.problem = notReadable(status.st_mode);
        return result;
    }
    // Not blocking, and checked again once open, in case the name was given
    // to a FIFO in between.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) {
        result.problem = failure("cannot open");
        return result;
    }
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        result.problem = notReadable(status.st_mode);
        return result;
    }
    char buffer[1 << 16];
    while (true) {
        const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            result.problem = failure("cannot read");
            return result;
        }
        if (count == 0) return result;
        result.text.append(buffer, static_cast<std::size_t>(count));
        if (static_cast<long>(result.text.size()) > maxBytes) {
            result.problem = "larger than " + std::to_string(maxBytes >> 20) + " MiB";
            return result;
        }
    }
}

}  // namespace adequacy::system
