#include "montecarlo/reporting/scratch.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "report/fatal.hpp"

namespace adequacy {

namespace {

// $TMPDIR when set, as for any program's temporary files, else /tmp.
std::string scratchDirectory() {
    const char* directory = std::getenv("TMPDIR");
    return directory != nullptr && *directory != '\0' ? directory : "/tmp";
}

// A file with no name in `directory`, or one whose name is removed at once
// where the file system has no unnamed files: nothing is left behind
// however the run ends.
int openUnnamedFile(const std::string& directory) {
    int descriptor = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (descriptor >= 0 || (errno != EOPNOTSUPP && errno != EISDIR)) return descriptor;
    std::string path = directory + "/adequacy-XXXXXX";
    descriptor = ::mkostemp(path.data(), O_CLOEXEC);
    if (descriptor >= 0) ::unlink(path.c_str());
    return descriptor;
}

ScratchFile openScratch(const char* name) {
    const std::string directory = scratchDirectory();
    const int descriptor = openUnnamedFile(directory);
    std::FILE* file = descriptor < 0 ? nullptr : ::fdopen(descriptor, "w+b");
    if (file == nullptr) {
        const int error = errno;
        if (descriptor >= 0) ::close(descriptor);
        report::fatalIoError(name,
                             "cannot be opened in " + directory + ": " + std::strerror(error));
    }
    return ScratchFile{file, name};
}

void appendRecord(ScratchFile& file, std::span<const double> record) {
    if (std::fwrite(record.data(), sizeof(double), record.size(), file.file) != record.size()) {
        report::fatalIoError(file.name, std::string("cannot be written: ") + std::strerror(errno));
    }
}

void seekTo(ScratchFile& file, int origin) {
    if (std::fseek(file.file, 0, origin) != 0) {
        report::fatalIoError(file.name, "cannot be positioned");
    }
}

}  // namespace

ScratchFiles openScratchFiles() {
    ScratchFile system = openScratch("scratch file 5");
    ScratchFile area1 = openScratch("scratch file 6");
    ScratchFile tie = openScratch("scratch file 7");
    return ScratchFiles{system, area1, tie};
}

void closeScratchFiles(ScratchFiles& files) {
    for (ScratchFile* file : {&files.system, &files.area1, &files.tie}) {
        if (file->file != nullptr) std::fclose(file->file);
        file->file = nullptr;
    }
}

void append(ScratchFiles& files, const YearRecords& records) {
    appendRecord(files.system, records.system);
    appendRecord(files.area1, records.area1);
    appendRecord(files.tie, records.tie);
}

void rewind(ScratchFiles& files) {
    // Positioning also flushes the records still buffered for writing.
    seekTo(files.system, SEEK_SET);
    seekTo(files.area1, SEEK_SET);
    seekTo(files.tie, SEEK_SET);
}

void readRecord(ScratchFile& file, std::span<double> record) {
    if (std::fread(record.data(), sizeof(double), record.size(), file.file) != record.size()) {
        report::fatalIoError(file.name, "cannot be read: fewer records than years");
    }
}

void seekEnd(ScratchFile& file) { seekTo(file, SEEK_END); }

}  // namespace adequacy
