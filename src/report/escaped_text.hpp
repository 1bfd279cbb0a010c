#pragma once
// Text from outside the program (answers, paths, keys) quoted in a message or
// a results file: control characters, which would break the line or hide
// part of it, and bytes that are not UTF-8 are written as \xNN.

#include <string>
#include <string_view>

namespace adequacy::report {

// The text with every byte below 0x20 and DEL written as \xNN.
std::string withControlsEscaped(std::string_view text);

// The text with every byte that is not part of a well-formed UTF-8 sequence
// written as \xNN; the rest is kept as it is.
std::string asUtf8(std::string_view text);

// Whether the text holds a byte below 0x20 or DEL (a NUL among them).
bool holdsControls(std::string_view text);

}  // namespace adequacy::report
