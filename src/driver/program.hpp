#pragma once

#include "model/study_system.hpp"

namespace adequacy {

// Runs the whole program on the system, the console and the report file OP;
// returns the exit status (fatal errors exit from within).
int runProgram(const StudySystem& system);

}  // namespace adequacy
