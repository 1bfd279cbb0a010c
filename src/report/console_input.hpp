#pragma once
// Console reads. The end of console input ends the program with a fatal
// I/O error.

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace adequacy::report {

inline constexpr int inputLineLength = 100;

// The places where the program reads a console line.
enum class Prompt { loadParameters, atcTable, years, closing };
inline constexpr std::size_t promptCount = 4;

// Lines given in advance for one prompt, taken in order in place of console
// lines; each goes through the same reading as a typed line.
struct ScriptedLines {
    std::vector<std::string> lines;
    std::size_t used = 0;
    std::string source;  // named in fatal messages instead of the console
};

struct ConsoleInput {
    std::FILE* file = stdin;
    std::string name = "console input";
    std::array<ScriptedLines, promptCount> scripted{};
    // Never read the console: a prompt whose scripted lines are used up gets
    // a blank line, except the years prompt, which reads past blank lines and
    // so meets the end of input.
    bool unattended = false;
};

// The next line, cut or blank-padded to exactly 100 characters (A100).
std::string readLine(ConsoleInput& input, Prompt prompt);

// A line as read, without its line end, as readLine returns it.
std::string fitInputLine(std::string line);

// The next line's first character, blank if the line is empty (A1).
char readFirstCharacter(ConsoleInput& input, Prompt prompt);

// One integer, free-format; empty lines are read past. A null value or a
// slash leaves `initial`. A conversion error is fatal.
int readInteger(ConsoleInput& input, Prompt prompt, int initial);

// What one console line gives an integer read.
struct IntegerLine {
    enum class Kind { readOn, value, conversionError };
    Kind kind = Kind::readOn;
    int value = 0;
};
IntegerLine parseIntegerLine(std::string_view line, int initial);

}  // namespace adequacy::report
