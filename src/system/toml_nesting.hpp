#pragma once
// The TOML library builds a table per part of a dotted key and per level of
// an inline table or array, recursively: a key of some tens of thousands of
// parts exhausts the stack. A system file needs two or three levels, so the
// text is scanned for deeper nesting before it is parsed.

#include <optional>
#include <string>
#include <string_view>

namespace adequacy::system {

// Far more than any system file needs, far less than the stack allows.
inline constexpr int maxKeyParts = 64;
inline constexpr int maxBracketDepth = 64;

struct NestingFault {
    int line = 0;  // 1-based
    std::string what;
};

// The first place where a dotted key has more than maxKeyParts parts or
// brackets and braces nest more than maxBracketDepth deep, outside strings
// and comments; none if the text stays within both.
std::optional<NestingFault> deepNesting(std::string_view text);

}  // namespace adequacy::system
