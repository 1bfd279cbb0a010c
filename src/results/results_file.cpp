#include "results/results_file.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "report/fatal.hpp"
#include "report/file_target.hpp"
#include "results/interrupts_held.hpp"

namespace adequacy::results {
namespace {

// A temporary name is the results file's own name, cut so that the whole
// stays within the 255 bytes a name may have, and a suffix that tells the
// program's own files from any other.
constexpr std::size_t maxNameBytes = 255;
constexpr char leftoverMark[] = ".adequacy-";
constexpr std::size_t uniqueLetters = 6;  // mkstemp's XXXXXX
constexpr int maxLockAttempts = 10;

[[noreturn]] void cannotWrite(const std::string& channel, const char* what) {
    report::fatalIoError(channel, std::string(what) + ": " + std::strerror(errno));
}

bool writeAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

bool sameFile(int fd, const std::string& path) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// Six letters for a name that is tried once.
std::string uniqueSuffix(unsigned attempt) {
    static constexpr char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    auto state = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    state ^= (static_cast<unsigned long long>(::getpid()) << 32) + attempt;
    std::string suffix;
    for (std::size_t i = 0; i < uniqueLetters; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        suffix.push_back(letters[(state >> 33) % (sizeof letters - 1)]);
    }
    return suffix;
}

}  // namespace

ResultsFile::~ResultsFile() {
    if (held_ >= 0) ::close(held_);
    if (direct_ >= 0) ::close(direct_);
}

void ResultsFile::open(const std::string& path) {
    channel_ = "results file " + path;
    target_ = report::followedPath(path);
    const std::filesystem::path target(target_);
    folder_ = target.has_parent_path() ? target.parent_path().string() : ".";
    const std::string name = target.filename().string();
    const std::size_t room = maxNameBytes - 1 - (sizeof leftoverMark - 1) - uniqueLetters;
    leftoverPrefix_.assign(1, '.').append(name, 0, room).append(leftoverMark);
    struct stat status {};
    if (::stat(target_.c_str(), &status) != 0) return;  // a new name
    inPlace_ = !S_ISREG(status.st_mode);
    if (inPlace_) return;
    bool inUse = false;
    held_ = lockExisting(inUse);
    if (inUse) report::fileInUse(channel_);
}

void ResultsFile::write(const std::string& text) {
    if (inPlace_) {
        writeInPlace(text);
        return;
    }
    // Neither a half-written file nor a stray temporary one is left behind.
    const InterruptsHeld held;
    replace(text);
}

// A device or FIFO is not replaced, nor emptied: each version of the
// document is written to it in turn. (Opening a FIFO waits for its reader,
// and an interrupt may end that wait.)
void ResultsFile::writeInPlace(const std::string& text) {
    if (direct_ < 0) direct_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (direct_ < 0) cannotWrite(channel_, "cannot be opened");
    if (!writeAll(direct_, text)) cannotWrite(channel_, "cannot be written");
}

// The file now at the target, locked: -1 if there is none, or (with inUse)
// if another run holds it. The lock taken on a version that was replaced
// meanwhile is no lock on the file: its successor is locked instead.
int ResultsFile::lockExisting(bool& inUse) {
    for (int attempt = 0; attempt < maxLockAttempts; ++attempt) {
        int fd = ::open(target_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0 && errno == EACCES)
            fd = ::open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) return -1;
        if (fd < 0) cannotWrite(channel_, "cannot be locked");
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            inUse = error == EWOULDBLOCK;
            if (inUse) return -1;
            errno = error;
            cannotWrite(channel_, "cannot be locked");
        }
        if (sameFile(fd, target_)) return fd;
        ::close(fd);
    }
    errno = EAGAIN;
    cannotWrite(channel_, "cannot be locked");
}

// The complete version under a temporary name beside the target, written
// to disk and locked. It is made without a name and linked in once complete
// where the file system allows, else made under its name.
int ResultsFile::completeVersion(const std::string& text, std::string& temporary) {
    for (const bool unnamed : {true, false}) {
        temporary = folder_ + "/" + leftoverPrefix_ + std::string(uniqueLetters, 'X');
        int fd = unnamed ? ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666)
                         : ::mkstemp(temporary.data());
        if (fd < 0 && unnamed && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL))
            continue;
        if (fd < 0) cannotWrite(channel_, "cannot be created");
        if (!unnamed) {
            // mkstemp creates the file for its owner only; a results file is
            // as readable as any other file the user creates.
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::fchmod(fd, 0666 & ~mask);
        }
        const bool written = writeAll(fd, text) && ::fsync(fd) == 0;
        if (!written) {
            const int error = errno;
            ::close(fd);
            if (!unnamed) ::unlink(temporary.c_str());
            errno = error;
            cannotWrite(channel_, "cannot be written");
        }
        ::flock(fd, LOCK_EX);  // a new file: nobody else holds it
        if (!unnamed || linkIn(fd, temporary)) return fd;
        ::close(fd);  // no /proc to link it in by: written again, named
    }
    cannotWrite(channel_, "cannot be created");
}

bool ResultsFile::linkIn(int fd, std::string& temporary) {
    std::string self = "/proc/self/fd/";
    self += std::to_string(fd);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary = folder_ + "/" + leftoverPrefix_ + uniqueSuffix(attempt);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST) return false;
    }
    return false;
}

void ResultsFile::replace(const std::string& text) {
    std::string temporary;
    const int fd = completeVersion(text, temporary);
    const auto giveUp = [&](const char* what) {
        const int error = errno;
        ::unlink(temporary.c_str());
        ::close(fd);
        errno = error;
        cannotWrite(channel_, what);
    };
    if (held_ < 0) {
        // A new name, linked in only while it is new: a run that has created
        // it meanwhile holds it, and keeps it.
        if (::link(temporary.c_str(), target_.c_str()) == 0) {
            ::unlink(temporary.c_str());
            held_ = fd;
            tidy();
            return;
        }
        if (errno != EEXIST) giveUp("cannot be created");
        bool inUse = false;
        held_ = lockExisting(inUse);
        if (inUse) {
            ::unlink(temporary.c_str());
            ::close(fd);
            report::fileInUse(channel_);
        }
    }
    if (std::rename(temporary.c_str(), target_.c_str()) != 0)
        giveUp("cannot be renamed into place");
    if (held_ >= 0) ::close(held_);
    held_ = fd;
    tidy();
}

// Temporary files of earlier runs, left by a kill between their linking in
// and their renaming: no other run can be writing them while this one holds
// the file.
void ResultsFile::tidy() {
    if (tidied_) return;
    tidied_ = true;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == leftoverPrefix_.size() + uniqueLetters &&
            name.starts_with(leftoverPrefix_))
            ::unlink(entry.path().c_str());
    }
}

}  // namespace adequacy::results
