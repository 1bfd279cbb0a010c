#include "system/toml_nesting.hpp"

namespace adequacy::system {
namespace {

// Characters of a bare key, and of the numbers, dates and words that stand
// where a value does: a float's single dot makes a chain of two parts.
bool isBare(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           c == '-' || c == '+' || c == ':';
}

class NestingScan {
  public:
    explicit NestingScan(std::string_view text) : text_(text) {}

    std::optional<NestingFault> run() {
        while (at_ < text_.size()) {
            step(text_[at_]);
            if (parts_ > maxKeyParts)
                return NestingFault{
                    line_, "a dotted key of more than " + std::to_string(maxKeyParts) + " parts"};
            if (depth_ > maxBracketDepth)
                return NestingFault{line_, "arrays and tables nested more than " +
                                               std::to_string(maxBracketDepth) + " deep"};
        }
        return std::nullopt;
    }

  private:
    void step(char c) {
        if (c == '"' || c == '\'') {
            skipString(c);
            endPart();
        } else if (isBare(c)) {
            while (at_ < text_.size() && isBare(text_[at_])) ++at_;
            endPart();
        } else if (c == '.') {
            ++at_;
            afterDot_ = true;
        } else if (c == ' ' || c == '\t') {
            ++at_;
        } else if (c == '#') {
            while (at_ < text_.size() && text_[at_] != '\n') ++at_;
        } else {
            if (c == '\n') ++line_;
            if (c == '[' || c == '{') ++depth_;
            if ((c == ']' || c == '}') && depth_ > 0) --depth_;
            ++at_;
            parts_ = 0;
            afterDot_ = false;
        }
    }

    // A part after a dot continues the chain; any other starts a new one.
    void endPart() {
        parts_ = afterDot_ ? parts_ + 1 : 1;
        afterDot_ = false;
    }

    bool startsWith(std::string_view delimiter) const {
        return text_.substr(at_, delimiter.size()) == delimiter;
    }

    // Past the string that starts here, of either kind, on one line or several.
    void skipString(char quote) {
        const std::string triple(3, quote);
        const bool multiLine = startsWith(triple);
        const std::string_view end = std::string_view(triple).substr(0, multiLine ? 3 : 1);
        at_ += end.size();
        while (at_ < text_.size() && !startsWith(end)) {
            if (text_[at_] == '\n') {
                if (!multiLine) return;  // unterminated: the parser refuses it
                ++line_;
            }
            // An escape takes the next character with it, a line end too.
            if (text_[at_] == '\\' && quote == '"' && at_ + 1 < text_.size()) {
                ++at_;
                if (text_[at_] == '\n') ++line_;
            }
            ++at_;
        }
        at_ += end.size();
        // Up to two quotes may close a multi-line string's content.
        while (multiLine && at_ < text_.size() && text_[at_] == quote) ++at_;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int line_ = 1;
    int depth_ = 0;
    int parts_ = 0;          // of the dotted chain being read
    bool afterDot_ = false;  // a dot was the last thing read
};

}  // namespace

std::optional<NestingFault> deepNesting(std::string_view text) { return NestingScan(text).run(); }

}  // namespace adequacy::system
