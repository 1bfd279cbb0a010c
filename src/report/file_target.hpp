#pragma once
// Which file a path names, for outputs: the file a write through the path
// reaches once its symbolic links are followed, and whether two paths reach
// the same one.

#include <sys/types.h>

#include <string>

namespace adequacy::report {

// The path with its symbolic links followed, the last one too: a link whose
// target does not exist yet gives the path at which a write creates it.
std::string followedPath(const std::string& path);

struct FileIdentity {
    bool exists = false;
    bool regular = false;  // a regular file; else a device, a FIFO, a folder...
    dev_t device = 0;
    ino_t inode = 0;
    std::string normalPath;  // where it does not exist: absolute, links resolved
};

FileIdentity identify(const std::string& path);

// Whether writing one would overwrite the other: the same existing regular
// file, or the same new name. A device or FIFO may take several outputs.
bool clobbers(const FileIdentity& a, const FileIdentity& b);

}  // namespace adequacy::report
