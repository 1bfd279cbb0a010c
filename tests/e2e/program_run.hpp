#pragma once
// Runs the real adequacy binary in a fresh temporary directory with scripted
// standard input, and collects what it wrote.

#include <string>

namespace adequacy::testing {

struct ProgramRun {
    int exitStatus = -1;
    std::string console;  // standard output
    std::string errors;   // standard error
    std::string report;   // the file OP, empty if missing
    bool reportExists = false;
};

ProgramRun runProgram(const std::string& standardInput);

// Masks the processor-time fields, which differ from run to run.
std::string maskTimes(const std::string& text);

std::string readFile(const std::string& path);

// Number of non-overlapping occurrences of `needle`.
int countOf(const std::string& haystack, const std::string& needle);

}  // namespace adequacy::testing
