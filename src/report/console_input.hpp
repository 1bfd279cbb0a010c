#pragma once
// Console reads. The end of console input ends the program with a fatal
// I/O error.

#include <cstdio>
#include <string>

namespace adequacy::report {

inline constexpr int inputLineLength = 100;

struct ConsoleInput {
    std::FILE* file = stdin;
    std::string name = "console input";
};

// The next line, cut or blank-padded to exactly 100 characters (A100).
std::string readLine(ConsoleInput& input);

// The next line's first character, blank if the line is empty (A1).
char readFirstCharacter(ConsoleInput& input);

// One integer, free-format; empty lines are read past. A null value or a
// slash leaves `initial`. A conversion error is fatal.
int readInteger(ConsoleInput& input, int initial);

}  // namespace adequacy::report
