#include "report/file_target.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace adequacy::report {
namespace {

// As the kernel does, give up on a chain of links this long (a loop).
constexpr int maxLinksFollowed = 40;

}  // namespace

std::string followedPath(const std::string& path) {
    std::filesystem::path current(path);
    for (int link = 0; link < maxLinksFollowed; ++link) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) break;
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error) break;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current.string();
}

FileIdentity identify(const std::string& path) {
    FileIdentity identity;
    const std::string target = followedPath(path);
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0) {
        identity.exists = true;
        identity.regular = S_ISREG(status.st_mode);
        identity.device = status.st_dev;
        identity.inode = status.st_ino;
        return identity;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(target, error);
    std::filesystem::path normal = std::filesystem::weakly_canonical(absolute, error);
    if (error) normal = absolute.lexically_normal();
    identity.normalPath = normal.string();
    return identity;
}

bool clobbers(const FileIdentity& a, const FileIdentity& b) {
    if (a.exists != b.exists) return false;
    if (!a.exists) return a.normalPath == b.normalPath;
    return a.regular && b.regular && a.device == b.device && a.inode == b.inode;
}

}  // namespace adequacy::report
