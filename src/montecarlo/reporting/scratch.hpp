#pragma once
// Three unnamed scratch files holding one record of running estimates per
// simulated year (160 bytes a year in all), in $TMPDIR, else /tmp. Keeping
// the years on file rather than in memory lets a run be as long as the user
// likes; the files vanish with the process however it ends. Any failure to
// open, write or read them is a fatal I/O error naming the file, and the
// directory when it cannot be opened.

#include <array>
#include <cstdio>
#include <span>

#include "montecarlo/state.hpp"

namespace adequacy {

struct ScratchFile {
    std::FILE* file;
    const char* name;  // named in fatal I/O messages
};

struct ScratchFiles {
    ScratchFile system;  // channel 5
    ScratchFile area1;   // channel 6
    ScratchFile tie;     // channel 7
};

ScratchFiles openScratchFiles();
void closeScratchFiles(ScratchFiles& files);

// Appends one year's record to each file.
void append(ScratchFiles& files, const YearRecords& records);

// Rewinds the three files, in channel order, before a read-back.
void rewind(ScratchFiles& files);

// Reads the next record; fewer values than the record holds is fatal.
void readRecord(ScratchFile& file, std::span<double> record);

// Leaves the file positioned after its last record, ready for the next year.
void seekEnd(ScratchFile& file);

}  // namespace adequacy
