#pragma once

namespace adequacy {

// Runs the whole program on the console and the report file OP; returns the
// exit status (fatal errors exit from within).
int runProgram();

}  // namespace adequacy
