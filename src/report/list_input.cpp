#include "report/list_input.hpp"

#include "report/list_lexer.hpp"

namespace adequacy::report {

ListOutcome readReals(std::string_view text, std::span<float* const> items) {
    ListLexer lexer(text);
    std::size_t filled = 0;
    while (filled < items.size()) {
        ListItem item = lexer.next();
        switch (item.kind) {
            case ListItem::Kind::end:
                return ListOutcome::endOfInput;
            case ListItem::Kind::slash:
                return ListOutcome::slash;
            case ListItem::Kind::badRepeat:
                return ListOutcome::conversionError;
            case ListItem::Kind::null:
                filled += static_cast<std::size_t>(std::min<long long>(
                    item.repeat, static_cast<long long>(items.size() - filled)));
                break;
            case ListItem::Kind::value: {
                float value = 0.0f;
                if (!parseReal(item.text, value)) return ListOutcome::conversionError;
                for (long long i = 0; i < item.repeat && filled < items.size(); ++i)
                    *items[filled++] = value;
                break;
            }
        }
    }
    return ListOutcome::complete;
}

long long countListItems(std::string_view text) {
    ListLexer lexer(text);
    long long count = 0;
    while (true) {
        const ListItem item = lexer.next();
        if (item.kind != ListItem::Kind::value && item.kind != ListItem::Kind::null) return count;
        count += item.repeat;
    }
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace adequacy::report
