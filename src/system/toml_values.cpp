#include "system/toml_values.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>

#include "report/escaped_text.hpp"
#include "system/toml_nesting.hpp"

namespace adequacy::system {
namespace {

bool isNumberCharacter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '+' ||
           c == '-' || c == '.' || c == '_';
}

bool isUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Bounds as a reader writes them: whole numbers without a fraction.
std::string boundText(double bound) {
    if (bound == std::trunc(bound) && std::fabs(bound) < 1e15)
        return std::to_string(static_cast<long long>(bound));
    char text[32];
    std::snprintf(text, sizeof text, "%g", bound);
    return text;
}

// The decimal as written, digit separators removed, rounded once to single
// precision. Rounding through the double that the parser holds could land on
// a different float when the decimal lies just off a midpoint between two.
float singlePrecision(std::string_view written, double parsed) {
    std::string digits;
    for (char c : written)
        if (c != '_') digits += c;
    if (!digits.empty() && digits.front() == '+') digits.erase(0, 1);
    float value = 0.0f;
    const char* end = digits.data() + digits.size();
    auto [stop, status] = std::from_chars(digits.data(), end, value);
    const float viaDouble = static_cast<float>(parsed);
    // Anything but the same float or a neighbour means the text was not the
    // number the parser read.
    if (status != std::errc{} || stop != end || digits.empty() ||
        (value != viaDouble && std::nextafter(viaDouble, value) != value))
        return viaDouble;
    return value;
}

}  // namespace

TomlSource::TomlSource(std::string path, std::string text)
    : path_(std::move(path)), text_(std::move(text)) {
    // The parser counts columns after a byte-order mark.
    lineStarts_.push_back(text_.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0);
    for (std::size_t i = 0; i < text_.size(); ++i)
        if (text_[i] == '\n') lineStarts_.push_back(i + 1);
}

void TomlSource::failAt(int line, std::string what) const {
    throw SystemFileFailure{SystemFileError{path_, line, std::move(what)}};
}

void TomlSource::fail(const toml::node& node, std::string what) const {
    failAt(lineOf(node), std::move(what));
}

std::string_view TomlSource::numberText(const toml::node& node) const {
    const toml::source_position begin = node.source().begin;
    if (begin.line < 1 || begin.line > lineStarts_.size()) return {};
    // Columns count code points, not bytes.
    std::size_t at = lineStarts_[begin.line - 1];
    for (std::uint32_t column = 1; column < begin.column && at < text_.size(); ++column) {
        ++at;
        while (at < text_.size() && isUtf8Continuation(text_[at])) ++at;
    }
    std::size_t end = at;
    while (end < text_.size() && isNumberCharacter(text_[end])) ++end;
    return std::string_view(text_).substr(at, end - at);
}

int lineOf(const toml::node& node) { return static_cast<int>(node.source().begin.line); }

std::string typeName(const toml::node& node) {
    switch (node.type()) {
        case toml::node_type::table:
            return "a table";
        case toml::node_type::array:
            return "an array";
        case toml::node_type::string:
            return "a string";
        case toml::node_type::integer:
            return "an integer";
        case toml::node_type::floating_point:
            return "a floating-point number";
        case toml::node_type::boolean:
            return "a boolean";
        default:
            return "a date or time";
    }
}

std::string keyPath(std::string_view where, std::string_view key) {
    if (where.empty()) return std::string(key);
    return std::string(where) + "." + std::string(key);
}

toml::table parseSource(const TomlSource& source, std::string_view kind) {
    if (const std::optional<NestingFault> fault = deepNesting(source.text()))
        source.failAt(fault->line,
                      "nested too deep for a " + std::string(kind) + ": " + fault->what);
    try {
        return toml::parse(source.text(), source.path());
    } catch (const toml::parse_error& error) {
        source.failAt(static_cast<int>(error.source().begin.line),
                      "not valid TOML: " + report::withControlsEscaped(error.description()));
    }
}

void rejectUnknownKeys(const TomlSource& source, const toml::table& table, std::string_view where,
                       std::initializer_list<std::string_view> allowed) {
    for (const auto& [key, node] : table) {
        bool known = false;
        for (std::string_view name : allowed) known = known || key.str() == name;
        if (known) continue;
        std::string list;
        for (std::string_view name : allowed)
            list += (list.empty() ? "" : ", ") + std::string(name);
        int line =
            key.source().begin.line > 0 ? static_cast<int>(key.source().begin.line) : lineOf(node);
        source.failAt(line, "unknown key " +
                                keyPath(where, report::withControlsEscaped(key.str())) +
                                " (known keys: " + list + ")");
    }
}

const toml::node& requiredKey(const TomlSource& source, const toml::table& table,
                              std::string_view where, std::string_view key) {
    const toml::node* node = table.get(key);
    if (node == nullptr) {
        std::string what = where.empty() ? "missing key " + std::string(key)
                                         : std::string(where) + ": missing key " + std::string(key);
        source.failAt(std::max(lineOf(table), 1), what);
    }
    return *node;
}

const toml::table& tableValue(const TomlSource& source, const toml::node& node,
                              const std::string& name) {
    if (!node.is_table()) source.fail(node, name + ": must be a table, not " + typeName(node));
    return *node.as_table();
}

const toml::array& arrayValue(const TomlSource& source, const toml::node& node,
                              const std::string& name) {
    if (!node.is_array()) source.fail(node, name + ": must be an array, not " + typeName(node));
    return *node.as_array();
}

std::string stringValue(const TomlSource& source, const toml::node& node, const std::string& name) {
    if (!node.is_string()) source.fail(node, name + ": must be a string, not " + typeName(node));
    return node.as_string()->get();
}

std::int64_t integerValue(const TomlSource& source, const toml::node& node, const std::string& name,
                          std::int64_t min, std::int64_t max) {
    if (!node.is_integer()) source.fail(node, name + ": must be an integer, not " + typeName(node));
    const std::int64_t value = node.as_integer()->get();
    if (value < min || value > max)
        source.fail(node, name + ": must be between " + std::to_string(min) + " and " +
                              std::to_string(max) + " (is " + std::to_string(value) + ")");
    return value;
}

double numberValue(const TomlSource& source, const toml::node& node, const std::string& name) {
    double value = 0.0;
    if (node.is_integer())
        value = static_cast<double>(node.as_integer()->get());
    else if (node.is_floating_point())
        value = node.as_floating_point()->get();
    else
        source.fail(node, name + ": must be a number, not " + typeName(node));
    if (!std::isfinite(value)) source.fail(node, name + ": must be a finite number");
    return value;
}

float singlePrecisionValue(const TomlSource& source, const toml::node& node, double value) {
    if (node.is_integer()) return static_cast<float>(node.as_integer()->get());
    return singlePrecision(source.numberText(node), value);
}

float realValue(const TomlSource& source, const toml::node& node, const std::string& name,
                double min, double max) {
    const double value = numberValue(source, node, name);
    if (value < min || value > max)
        source.fail(node, name + ": must be between " + boundText(min) + " and " + boundText(max) +
                              " (is " + writtenValue(source, node) + ")");
    return singlePrecisionValue(source, node, value);
}

std::string writtenValue(const TomlSource& source, const toml::node& node) {
    if (node.is_integer() || node.is_floating_point()) {
        std::string_view text = source.numberText(node);
        if (!text.empty()) return std::string(text);
    }
    return typeName(node);
}

}  // namespace adequacy::system
