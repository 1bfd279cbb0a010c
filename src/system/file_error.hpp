#pragma once
// What is wrong with a system file, and where.

#include <string>

namespace adequacy::system {

struct SystemFileError {
    std::string file;  // the system file, or the hourly-load file it names
    int line = 0;      // 1-based; 0 when the fault concerns the file as a whole
    std::string what;
};

// "FILE:LINE: what" (or "FILE: what" without a line), the form compilers use,
// so that editors can jump to the place.
std::string describe(const SystemFileError& error);

// Thrown inside the reader only; readSystemFile turns it into its result.
struct SystemFileFailure {
    SystemFileError error;
};

}  // namespace adequacy::system
