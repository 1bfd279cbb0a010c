#pragma once
// Answers given as options make the run a script, which nobody watches: an
// answer that a person at the prompt would have seen refused, cut short or
// partly ignored is a usage error, found before anything is opened. Typed
// answers keep the dialogs' own ways.

#include <string>

#include "driver/options.hpp"
#include "model/study_system.hpp"

namespace adequacy {

// One line of what is wrong, naming the option; empty when the answers are
// sound or none is given as an option.
std::string unattendedAnswerFault(const Options& options, const StudySystem& system);

}  // namespace adequacy
