// adequacy: generating-capacity adequacy of a two-area power system.
#include <iostream>

#include "driver/options.hpp"
#include "driver/program.hpp"

int main(int argc, char** argv) {
    const adequacy::CommandLine line = adequacy::parseCommandLine(argc, argv, std::cout, std::cerr);
    if (line.exitStatus) return *line.exitStatus;
    return adequacy::runProgram(line.options);
}
