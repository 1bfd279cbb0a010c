#pragma once

#include "driver/options.hpp"

namespace adequacy {

// Runs the whole program on the console and the report file; returns the
// exit status (fatal errors exit from within).
int runProgram(const Options& options);

}  // namespace adequacy
