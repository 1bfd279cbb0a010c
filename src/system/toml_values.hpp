#pragma once
// Typed access to the nodes of a parsed system file. Every accessor either
// returns a value that has passed its check or throws SystemFileFailure naming
// the file, the node's line and the key.

#include <toml++/toml.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "system/file_error.hpp"

namespace adequacy::system {

// The file's path and text, kept to locate errors and to read real numbers
// from the digits as written.
class TomlSource {
  public:
    TomlSource(std::string path, std::string text);

    const std::string& path() const { return path_; }
    const std::string& text() const { return text_; }
    [[noreturn]] void failAt(int line, std::string what) const;
    [[noreturn]] void fail(const toml::node& node, std::string what) const;
    // The number token at the node's position, as written in the file.
    std::string_view numberText(const toml::node& node) const;

  private:
    std::string path_;
    std::string text_;
    std::vector<std::size_t> lineStarts_;
};

int lineOf(const toml::node& node);

// "a string", "an integer", ... for messages.
std::string typeName(const toml::node& node);

// "unit_type[2].pmax_mw": where is "" for the top level.
std::string keyPath(std::string_view where, std::string_view key);

// The source's text as TOML, its nesting bounded first; a fault is the
// usual FILE:LINE: error. `kind` names the file in the nesting message
// ("system file", "candidate file").
toml::table parseSource(const TomlSource& source, std::string_view kind);

void rejectUnknownKeys(const TomlSource& source, const toml::table& table, std::string_view where,
                       std::initializer_list<std::string_view> allowed);
const toml::node& requiredKey(const TomlSource& source, const toml::table& table,
                              std::string_view where, std::string_view key);

const toml::table& tableValue(const TomlSource& source, const toml::node& node,
                              const std::string& name);
const toml::array& arrayValue(const TomlSource& source, const toml::node& node,
                              const std::string& name);
std::string stringValue(const TomlSource& source, const toml::node& node, const std::string& name);

// An integer within min..max (the message names the bounds).
std::int64_t integerValue(const TomlSource& source, const toml::node& node, const std::string& name,
                          std::int64_t min, std::int64_t max);

// A finite real number (an integer is accepted), as the parser holds it.
double numberValue(const TomlSource& source, const toml::node& node, const std::string& name);

// That number rounded to the single-precision number nearest to the decimal
// written.
float singlePrecisionValue(const TomlSource& source, const toml::node& node, double value);

// A finite real number within min..max, in single precision as above.
float realValue(const TomlSource& source, const toml::node& node, const std::string& name,
                double min, double max);

// How a value is written in the file, for messages.
std::string writtenValue(const TomlSource& source, const toml::node& node);

}  // namespace adequacy::system
