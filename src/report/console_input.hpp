#pragma once
// Console reads. The end of console input ends the program with a fatal
// I/O error, except at the closing prompt.

#include <cstdio>
#include <string>
#include <string_view>

namespace adequacy::report {

inline constexpr int inputLineLength = 100;

struct ConsoleInput {
    std::FILE* file = stdin;
    std::string name = "console input";
};

// The next line, cut or blank-padded to exactly 100 characters (A100).
std::string readLine(ConsoleInput& input);

// A line as read, without its line end, as readLine returns it.
std::string fitInputLine(std::string line);

// The next line's first character, blank if the line is empty (A1).
char readFirstCharacter(ConsoleInput& input);

// Waits for the answer to the program's last prompt. The end of input there
// is no failure: nothing is left to do that the answer could change.
void readClosingAnswer(ConsoleInput& input);

// One integer, free-format; empty lines are read past. A null value or a
// slash leaves `initial`. A conversion error is fatal.
int readInteger(ConsoleInput& input, int initial);

// What one console line gives an integer read.
struct IntegerLine {
    enum class Kind { readOn, value, conversionError };
    Kind kind = Kind::readOn;
    int value = 0;
};
IntegerLine parseIntegerLine(std::string_view line, int initial);

}  // namespace adequacy::report
