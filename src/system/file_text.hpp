#pragma once
// The whole text of a file, read with a bound on its size so that a path to
// a device or a huge file fails instead of filling memory.

#include <string>

namespace adequacy::system {

struct FileText {
    std::string text;
    std::string problem;  // empty when the text was read
};

FileText readFileText(const std::string& path, long maxBytes);

}  // namespace adequacy::system
