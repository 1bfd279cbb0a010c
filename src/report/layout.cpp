#include "report/layout.hpp"

#include <cctype>
#include <cstdlib>

#include "report/fields.hpp"

namespace adequacy::report {
namespace {

// Walks a layout, filling records. A layout is written by the program
// itself, so a malformed one is a programming error and aborts.
class LayoutRenderer {
  public:
    LayoutRenderer(std::string_view layout, std::initializer_list<Value> values)
        : layout_(layout), next_(values.begin()), end_(values.end()) {}

    std::vector<std::string> render() {
        std::size_t position = skipBlanks(0);
        if (position >= layout_.size() || layout_[position] != '(') std::abort();
        renderGroup(position + 1);
        endRecord();
        return std::move(records_);
    }

  private:
    std::string_view layout_;
    const Value* next_;
    const Value* end_;
    std::vector<std::string> records_;
    std::string record_;
    std::size_t column_ = 0;
    bool stopped_ = false;

    std::size_t skipBlanks(std::size_t position) const {
        while (position < layout_.size() && layout_[position] == ' ') ++position;
        return position;
    }

    int readNumber(std::size_t& position) const {
        int number = 0;
        while (position < layout_.size() &&
               std::isdigit(static_cast<unsigned char>(layout_[position]))) {
            number = number * 10 + (layout_[position] - '0');
            ++position;
        }
        return number;
    }

    void put(std::string_view text) {
        if (record_.size() < column_) record_.resize(column_, ' ');
        record_.replace(column_, std::min(text.size(), record_.size() - column_), text);
        column_ += text.size();
    }

    void endRecord() {
        records_.push_back(record_);
        record_.clear();
        column_ = 0;
    }

    // Takes the next value, or stops the output when none is left.
    const Value* take() {
        if (next_ == end_) {
            stopped_ = true;
            return nullptr;
        }
        return next_++;
    }

    void renderField(char kind, int width, int decimals) {
        const Value* value = take();
        if (value == nullptr) return;
        switch (kind) {
            case 'F':
                put(formatF(value->kind == Value::Kind::integer
                                ? static_cast<double>(value->integer)
                                : value->real,
                            width, decimals));
                break;
            case 'I':
                if (value->kind == Value::Kind::text) std::abort();
                put(value->kind == Value::Kind::integer ? formatI(value->integer, width)
                                                        : formatIntegerPart(value->real, width));
                break;
            case 'A':
                if (value->kind != Value::Kind::text) std::abort();
                put(formatA(value->text, width));
                break;
        }
    }

    std::size_t renderText(std::size_t position) {
        std::string text;
        ++position;
        while (true) {
            if (position >= layout_.size()) std::abort();
            if (layout_[position] == '\'') {
                if (position + 1 < layout_.size() && layout_[position + 1] == '\'') {
                    text += '\'';
                    position += 2;
                    continue;
                }
                break;
            }
            text += layout_[position++];
        }
        put(text);
        return position + 1;
    }

    // Renders items from `position` up to the matching ')' and returns the
    // position after it.
    std::size_t renderGroup(std::size_t position) {
        while (true) {
            position = skipBlanks(position);
            if (position >= layout_.size()) std::abort();
            char c = layout_[position];
            if (c == ')') return position + 1;
            if (c == ',') {
                ++position;
                continue;
            }
            if (stopped_) {
                position = skipItem(position);
                continue;
            }
            position = renderItem(position);
        }
    }

    std::size_t renderItem(std::size_t position) {
        char c = layout_[position];
        if (c == '\'') return renderText(position);
        if (c == '/') {
            endRecord();
            return position + 1;
        }
        int count = std::isdigit(static_cast<unsigned char>(c)) ? readNumber(position) : 1;
        char kind = layout_[position];
        if (kind == 'X') {
            column_ += static_cast<std::size_t>(count);
            return position + 1;
        }
        if (kind == '(') {
            std::size_t after = position + 1;
            for (int i = 0; i < count && !stopped_; ++i) after = renderGroup(position + 1);
            return stopped_ ? skipItem(position) : after;
        }
        ++position;
        int width = readNumber(position);
        int decimals = 0;
        if (kind == 'F') {
            if (layout_[position] != '.') std::abort();
            ++position;
            decimals = readNumber(position);
        } else if (kind != 'I' && kind != 'A') {
            std::abort();
        }
        for (int i = 0; i < count && !stopped_; ++i) renderField(kind, width, decimals);
        return position;
    }

    // Steps over one item without rendering it (after the values ran out).
    std::size_t skipItem(std::size_t position) {
        if (layout_[position] == '\'') {
            ++position;
            while (position < layout_.size()) {
                if (layout_[position] == '\'') {
                    if (position + 1 < layout_.size() && layout_[position + 1] == '\'') {
                        position += 2;
                        continue;
                    }
                    return position + 1;
                }
                ++position;
            }
            std::abort();
        }
        while (position < layout_.size() &&
               std::isdigit(static_cast<unsigned char>(layout_[position])))
            ++position;
        if (layout_[position] == '(') {
            int depth = 0;
            do {
                if (layout_[position] == '(') ++depth;
                if (layout_[position] == ')') --depth;
                ++position;
            } while (depth > 0 && position < layout_.size());
            return position;
        }
        ++position;
        while (position < layout_.size() &&
               (std::isdigit(static_cast<unsigned char>(layout_[position])) ||
                layout_[position] == '.'))
            ++position;
        return position;
    }
};

}  // namespace

std::vector<std::string> renderLayout(std::string_view layout,
                                      std::initializer_list<Value> values) {
    return LayoutRenderer(layout, values).render();
}

void write(Channel& channel, std::string_view layout, std::initializer_list<Value> values) {
    for (const std::string& record : renderLayout(layout, values)) writeRecord(channel, record);
}

}  // namespace adequacy::report
