#include "montecarlo/scratch.hpp"

#include <cerrno>
#include <cstring>
#include <string>

#include "report/fatal.hpp"

namespace adequacy {

namespace {

ScratchFile openScratch(const char* name) {
    std::FILE* file = std::tmpfile();
    if (file == nullptr)
        report::fatalIoError(name, std::string("cannot be opened: ") + std::strerror(errno));
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
