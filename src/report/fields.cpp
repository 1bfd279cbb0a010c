#include "report/fields.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace adequacy::report {
namespace {

std::string asterisks(int width) { return std::string(static_cast<std::size_t>(width), '*'); }

std::string rightJustify(const std::string& text, int width) {
    if (static_cast<int>(text.size()) > width) return asterisks(width);
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

// Adds one unit in the last place of a string of decimal digits.
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// |value| rounded to `decimals` places, half away from zero, as the integer
// digits and the fraction digits. The exact binary value is expanded in full
// (a double has at most 1074 fraction digits) so that a tie is a real tie.
std::pair<std::string, std::string> roundMagnitude(double magnitude, int decimals) {
    static constexpr int exactDigits = 1080;
    std::array<char, 1500> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                   std::chars_format::fixed, exactDigits);
    if (ec != std::errc{}) std::abort();  // the caller keeps magnitude below 1e30
    std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    auto point = text.find('.');
    std::string digits(text.substr(0, point));
    digits += text.substr(point + 1, static_cast<std::size_t>(decimals));
    bool roundUp = text[point + 1 + static_cast<std::size_t>(decimals)] >= '5';
    if (roundUp) incrementDigits(digits);
    std::size_t integerLength = digits.size() - static_cast<std::size_t>(decimals);
    return {digits.substr(0, integerLength), digits.substr(integerLength)};
}

}  // namespace

std::string formatF(double value, int width, int decimals) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e30) return asterisks(width);
    auto [integer, fraction] = roundMagnitude(std::fabs(value), decimals);
    std::size_t firstNonZero = integer.find_first_not_of('0');
    integer = firstNonZero == std::string::npos ? std::string() : integer.substr(firstNonZero);
    std::string sign = value < 0 ? "-" : "";
    std::string body = integer + "." + fraction;
    // An integer part of zero is shown as a single 0 only where there is room.
    if (integer.empty() && static_cast<int>(sign.size() + body.size()) < width) body = "0" + body;
    return rightJustify(sign + body, width);
}

std::string formatI(long long value, int width) {
    std::array<char, 32> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    (void)ec;
    return rightJustify(std::string(buffer.data(), end), width);
}

std::string formatIntegerPart(double value, int width) {
    if (!std::isfinite(value)) return asterisks(width);
    const double integer = std::trunc(value);
    if (integer == 0.0) return rightJustify("0", width);
    // The exact digits, however many: no integer type limits the echo.
    std::array<char, 400> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), integer,
                                   std::chars_format::fixed, 0);
    (void)ec;
    return rightJustify(std::string(buffer.data(), end), width);
}

std::string formatA(std::string_view text, int width) {
    if (static_cast<int>(text.size()) >= width)
        return std::string(text.substr(0, static_cast<std::size_t>(width)));
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + std::string(text);
}

}  // namespace adequacy::report
