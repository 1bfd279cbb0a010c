// adequacy: generating-capacity adequacy of a two-area power system.
#include <iostream>

#include "driver/options.hpp"
#include "driver/program.hpp"
#include "driver/safeguards.hpp"

int main(int argc, char** argv) {
    adequacy::installSafeguards();
    const adequacy::CommandLine line = adequacy::parseCommandLine(argc, argv, std::cout, std::cerr);
    if (line.exitStatus) return *line.exitStatus;
    return adequacy::runProgram(line.options);
}
