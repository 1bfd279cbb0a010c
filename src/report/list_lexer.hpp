#pragma once
// Splits free-format input into items: values, null values and the slash.
// A comma where a value should start is a null value; blanks alone separate
// values; the blanks and one comma after a value form a single separator.

#include <string_view>

namespace adequacy::report {

struct ListItem {
    enum class Kind { value, null, slash, end, badRepeat };
    Kind kind = Kind::end;
    std::string_view text;  // the value, without its repeat count
    long long repeat = 1;
};

class ListLexer {
  public:
    explicit ListLexer(std::string_view text) : text_(text) {}
    ListItem next();

  private:
    std::string_view text_;
    std::size_t position_ = 0;

    static bool isBlankChar(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    void skipBlanks();
};

// Conversions of one value's text; false when it is not a number of that kind.
bool parseReal(std::string_view text, float& value);
bool parseInteger(std::string_view text, int& value);

}  // namespace adequacy::report
