// Any text through the free-format reader: the real items of both dialogs
// (7 and 20 values), the integer read of the number of years, and each
// value's conversion checked against the C library's.

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "report/console_input.hpp"
#include "report/list_input.hpp"
#include "report/list_lexer.hpp"

namespace {

using namespace adequacy::report;

void require(bool condition) {
    if (!condition) __builtin_trap();
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t digitsAt(std::string_view text, std::size_t at) {
    std::size_t start = at;
    while (at < text.size() && isDigit(text[at])) ++at;
    return at - start;
}

// The number forms the reader takes, recognised independently of it, and
// rewritten for strtof: [sign] mantissa [exponent], where the exponent is
// E or D and a signed integer, or a sign and an integer alone.
bool spellForStrtof(std::string_view token, std::string& spelled) {
    std::size_t at = 0;
    if (at < token.size() && (token[at] == '+' || token[at] == '-')) ++at;
    std::size_t whole = digitsAt(token, at);
    at += whole;
    std::size_t fraction = 0;
    if (at < token.size() && token[at] == '.') {
        fraction = digitsAt(token, at + 1);
        at += 1 + fraction;
    }
    if (whole + fraction == 0) return false;
    spelled.assign(token.substr(0, at));
    if (at == token.size()) return true;
    char c = token[at];
    if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
        ++at;
    } else if (c != '+' && c != '-') {
        return false;
    }
    spelled.push_back('e');
    if (at < token.size() && (token[at] == '+' || token[at] == '-')) spelled.push_back(token[at++]);
    std::size_t exponent = digitsAt(token, at);
    if (exponent == 0 || at + exponent != token.size()) return false;
    spelled.append(token.substr(at));
    return true;
}

void checkReal(std::string_view token) {
    float value = 0.0f;
    bool parsed = parseReal(token, value);
    std::string spelled;
    bool valid = spellForStrtof(token, spelled);
    require(parsed == valid);
    if (!valid) return;
    float expected = std::strtof(spelled.c_str(), nullptr);
    require(std::memcmp(&value, &expected, sizeof value) == 0);
}

void checkInteger(std::string_view token) {
    int value = 0;
    bool parsed = parseInteger(token, value);
    std::size_t at = token.empty() || (token[0] != '+' && token[0] != '-') ? 0 : 1;
    bool digits = at < token.size() && digitsAt(token, at) == token.size() - at;
    bool fits = false;
    long long expected = 0;
    if (digits) {
        std::string text(token);
        errno = 0;
        expected = std::strtoll(text.c_str(), nullptr, 10);
        fits = errno == 0 && expected >= INT32_MIN && expected <= INT32_MAX;
    }
    require(parsed == fits);
    if (fits) require(value == expected);
}

void readInto(std::string_view text, std::size_t count) {
    std::array<float, 20> values{};
    std::array<float*, 20> items{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<float>(i) + 0.5f;
        items[i] = &values[i];
    }
    ListOutcome outcome = readReals(text, std::span<float* const>(items.data(), count));
    require(outcome == ListOutcome::complete || outcome == ListOutcome::slash ||
            outcome == ListOutcome::conversionError || outcome == ListOutcome::endOfInput);
    // A value is a number or an infinity; items beyond the list are untouched.
    for (std::size_t i = 0; i < values.size(); ++i) {
        require(!std::isnan(values[i]));
        if (i >= count) require(values[i] == static_cast<float>(i) + 0.5f);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    readInto(text, 7);
    readInto(text, 20);

    IntegerLine years = parseIntegerLine(text, 4321);
    require(years.kind == IntegerLine::Kind::readOn || years.kind == IntegerLine::Kind::value ||
            years.kind == IntegerLine::Kind::conversionError);

    ListLexer lexer(text);
    for (int items = 0; items < 64; ++items) {
        ListItem item = lexer.next();
        if (item.kind == ListItem::Kind::end || item.kind == ListItem::Kind::slash) break;
        if (item.kind == ListItem::Kind::value) {
            require(item.repeat >= 1);
            checkReal(item.text);
            checkInteger(item.text);
        }
    }
    return 0;
}
