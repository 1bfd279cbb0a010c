// adequacy: generating-capacity adequacy of a two-area power system.
#include "driver/program.hpp"

int main() { return adequacy::runProgram(adequacy::builtInSystem()); }
