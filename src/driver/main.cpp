// adequacy: generating-capacity adequacy of a two-area power system.
#include "driver/program.hpp"
#include "driver/safeguards.hpp"

int main() {
    adequacy::installSafeguards();
    return adequacy::runProgram();
}
