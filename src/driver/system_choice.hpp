#pragma once
// The system a run studies: the built-in one, or the one a --system file
// describes, read in full before anything is opened or written.

#include <iosfwd>
#include <optional>
#include <string>

#include "driver/options.hpp"
#include "model/study_system.hpp"

namespace adequacy {

// A system file that cannot be used; nothing has been opened yet.
inline constexpr int systemFileErrorStatus = 2;

// The system to study, or nothing after one line on `errors` naming the
// file, the line and what is wrong with it.
std::optional<StudySystem> chooseStudySystem(const Options& options, std::ostream& errors);
std::optional<StudySystem> chooseStudySystem(const std::optional<std::string>& systemPath,
                                             std::ostream& errors);

}  // namespace adequacy
