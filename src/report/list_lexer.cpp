#include "report/list_lexer.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace adequacy::report {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t countDigits(std::string_view text, std::size_t position) {
    std::size_t start = position;
    while (position < text.size() && isDigit(text[position])) ++position;
    return position - start;
}

// Splits "r*value" into its repeat count and value; false for a bad count.
bool splitRepeat(std::string_view token, ListItem& item) {
    std::size_t star = token.find('*');
    if (star == std::string_view::npos) return true;
    std::string_view count = token.substr(0, star);
    long long repeat = 0;
    auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), repeat);
    if (count.empty() || ec != std::errc{} || end != count.data() + count.size() || repeat < 1)
        return false;
    item.repeat = repeat;
    item.text = token.substr(star + 1);
    if (item.text.empty()) item.kind = ListItem::Kind::null;
    return true;
}

}  // namespace

void ListLexer::skipBlanks() {
    while (position_ < text_.size() && isBlankChar(text_[position_])) ++position_;
}

ListItem ListLexer::next() {
    skipBlanks();
    ListItem item;
    if (position_ >= text_.size()) return item;
    char c = text_[position_];
    if (c == '/') {
        item.kind = ListItem::Kind::slash;
        return item;
    }
    if (c == ',') {
        ++position_;
        item.kind = ListItem::Kind::null;
        return item;
    }
    std::size_t start = position_;
    while (position_ < text_.size() && !isBlankChar(text_[position_]) && text_[position_] != ',' &&
           text_[position_] != '/')
        ++position_;
    item.kind = ListItem::Kind::value;
    item.text = text_.substr(start, position_ - start);
    if (!splitRepeat(item.text, item)) item.kind = ListItem::Kind::badRepeat;
    // The value's separator: blanks, then at most one comma.
    skipBlanks();
    if (position_ < text_.size() && text_[position_] == ',') ++position_;
    return item;
}

bool parseReal(std::string_view text, float& value) {
    // Accepted: [sign] digits [. digits] [exponent], with at least one digit
    // in the mantissa; the exponent letter may be E or D, or left out before
    // a signed exponent (1.5+3).
    std::size_t position = 0;
    bool negative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-'))
        negative = text[position++] == '-';
    std::size_t mantissaStart = position;
    std::size_t integerDigits = countDigits(text, position);
    position += integerDigits;
    std::size_t fractionDigits = 0;
    if (position < text.size() && text[position] == '.') {
        fractionDigits = countDigits(text, position + 1);
        position += 1 + fractionDigits;
    }
    if (integerDigits + fractionDigits == 0) return false;
    std::string normal(negative ? "-" : "");
    normal.append(text.substr(mantissaStart, position - mantissaStart));
    long long exponentSign = 1;
    if (position < text.size()) {
        char c = text[position];
        if (c == 'e' || c == 'E' || c == 'd' || c == 'D')
            ++position;
        else if (c != '+' && c != '-')
            return false;
        if (position < text.size() && (text[position] == '+' || text[position] == '-'))
            exponentSign = text[position++] == '-' ? -1 : 1;
        std::size_t exponentDigits = countDigits(text, position);
        if (exponentDigits == 0 || position + exponentDigits != text.size()) return false;
        normal.append(exponentSign < 0 ? "e-" : "e");
        normal.append(text.substr(position, exponentDigits));
    }
    const char* first = normal.data();
    const char* last = normal.data() + normal.size();
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        // Too large becomes an infinity, too small a zero, as in IEEE arithmetic.
        double wide = 0.0;
        auto [wideEnd, wideEc] = std::from_chars(first, last, wide);
        (void)wideEnd;
        bool huge = wideEc == std::errc{} ? std::fabs(wide) >= 1.0 : exponentSign > 0;
        value = std::copysign(huge ? std::numeric_limits<float>::infinity() : 0.0f,
                              negative ? -1.0f : 1.0f);
        return true;
    }
    return ec == std::errc{} && end == last;
}

bool parseInteger(std::string_view text, int& value) {
    // from_chars takes a minus sign but no plus sign, and only one sign may stand.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return false;
    }
    if (text.empty() || text.front() == '+') return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size();
}

}  // namespace adequacy::report
