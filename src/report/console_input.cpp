#include "report/console_input.hpp"

#include <cerrno>
#include <cstring>

#include "report/fatal.hpp"
#include "report/list_lexer.hpp"

namespace adequacy::report {
namespace {

constexpr std::size_t rawLineLimit = 4096;

// A line and where it came from.
struct SourcedLine {
    std::string text;
    std::string_view source;
};

std::string readConsoleLine(ConsoleInput& input) {
    std::string line;
    int c = 0;
    bool any = false;
    while ((c = std::getc(input.file)) != EOF) {
        any = true;
        if (c == '\n') break;
        if (line.size() < rawLineLimit) line.push_back(static_cast<char>(c));
    }
    if (c == EOF && std::ferror(input.file))
        fatalIoError(input.name, std::string("read failed: ") + std::strerror(errno));
    if (!any) fatalIoError(input.name, "end of input during a read");
    return line;
}

// The whole next line at `prompt` without its line end; fatal at the end of
// input.
SourcedLine readRawLine(ConsoleInput& input, Prompt prompt) {
    // The prompt must be visible before the read blocks; a console that
    // cannot show it is a failing write.
    if (std::fflush(stdout) != 0)
        fatalIoError("console output", std::string("write failed: ") + std::strerror(errno));
    ScriptedLines& script = input.scripted[static_cast<std::size_t>(prompt)];
    if (script.used < script.lines.size())
        return {script.lines[script.used++].substr(0, rawLineLimit), script.source};
    if (!input.unattended) return {readConsoleLine(input), input.name};
    if (prompt == Prompt::years)
        fatalIoError(script.source.empty() ? input.name : script.source,
                     "end of input during a read");
    return {std::string(), script.source};
}

}  // namespace

std::string fitInputLine(std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line.resize(inputLineLength, ' ');
    return line;
}

std::string readLine(ConsoleInput& input, Prompt prompt) {
    return fitInputLine(readRawLine(input, prompt).text);
}

char readFirstCharacter(ConsoleInput& input, Prompt prompt) {
    const SourcedLine line = readRawLine(input, prompt);
    const std::string_view text = line.text;
    return text.empty() || text == "\r" ? ' ' : text.front();
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

int readInteger(ConsoleInput& input, Prompt prompt, int initial) {
    while (true) {
        SourcedLine raw = readRawLine(input, prompt);
        IntegerLine line = parseIntegerLine(raw.text, initial);
        if (line.kind == IntegerLine::Kind::value) return line.value;
        if (line.kind == IntegerLine::Kind::conversionError)
            fatalIoError(raw.source, "conversion error: the answer is not an integer");
    }
}

}  // namespace adequacy::report
