#pragma once

#include "driver/options.hpp"
#include "model/study_system.hpp"

namespace adequacy {

// Runs the whole program on the console and the report file; returns the
// exit status (fatal errors exit from within). `studySystem` is the system
// chosen at start-up (built-in or read from a file).
int runProgram(const Options& options, const StudySystem& studySystem);

}  // namespace adequacy
