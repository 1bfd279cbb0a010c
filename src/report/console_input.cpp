#include "report/console_input.hpp"

#include <cerrno>
#include <cstring>

#include "report/fatal.hpp"
#include "report/list_lexer.hpp"

namespace adequacy::report {
namespace {

// The whole next line without its line end into `line`; false at the end
// of input.
bool readRawLine(ConsoleInput& input, std::string& line) {
    // The prompt must be visible before the read blocks; a console that
    // cannot show it is a failing write.
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0)
        fatalIoError("console output", std::string("write failed: ") + std::strerror(errno));
    int c = 0;
    bool any = false;
    while ((c = std::getc(input.file)) != EOF) {
        any = true;
        if (c == '\n') break;
        if (line.size() < 4096) line.push_back(static_cast<char>(c));
    }
    if (c == EOF && std::ferror(input.file))
        fatalIoError(input.name, std::string("read failed: ") + std::strerror(errno));
    return any;
}

// The whole next line without its line end; fatal at the end of input.
std::string readRawLine(ConsoleInput& input) {
    std::string line;
    if (!readRawLine(input, line)) fatalIoError(input.name, "end of input during a read");
    return line;
}

}  // namespace

std::string fitInputLine(std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line.resize(inputLineLength, ' ');
    return line;
}

std::string readLine(ConsoleInput& input) { return fitInputLine(readRawLine(input)); }

char readFirstCharacter(ConsoleInput& input) {
    std::string line = readRawLine(input);
    return line.empty() || line == "\r" ? ' ' : line.front();
}

void readClosingAnswer(ConsoleInput& input) {
    std::string ignored;
    readRawLine(input, ignored);
}

IntegerLine parseIntegerLine(std::string_view line, int initial) {
    ListLexer lexer(line);
    ListItem item = lexer.next();
    switch (item.kind) {
        case ListItem::Kind::end:
            return {IntegerLine::Kind::readOn, initial};
        case ListItem::Kind::slash:
        case ListItem::Kind::null:
            return {IntegerLine::Kind::value, initial};
        case ListItem::Kind::badRepeat:
            break;
        case ListItem::Kind::value: {
            int value = 0;
            if (parseInteger(item.text, value)) return {IntegerLine::Kind::value, value};
            break;
        }
    }
    return {IntegerLine::Kind::conversionError, initial};
}

int readInteger(ConsoleInput& input, int initial) {
    while (true) {
        IntegerLine line = parseIntegerLine(readRawLine(input), initial);
        if (line.kind == IntegerLine::Kind::value) return line.value;
        if (line.kind == IntegerLine::Kind::conversionError)
            fatalIoError(input.name, "conversion error: the answer is not an integer");
    }
}

}  // namespace adequacy::report
