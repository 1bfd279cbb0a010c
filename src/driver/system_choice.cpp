#include "driver/system_choice.hpp"

#include <ostream>

#include "system/system_file.hpp"

namespace adequacy {

std::optional<StudySystem> chooseStudySystem(const Options& options, std::ostream& errors) {
    return chooseStudySystem(options.systemPath, errors);
}

std::optional<StudySystem> chooseStudySystem(const std::optional<std::string>& systemPath,
                                             std::ostream& errors) {
    if (!systemPath) return builtInSystem();
    auto result = system::readSystemFile(*systemPath);
    if (auto* error = std::get_if<system::SystemFileError>(&result)) {
        errors << "adequacy: " << system::describe(*error) << '\n' << std::flush;
        return std::nullopt;
    }
    return std::get<StudySystem>(std::move(result));
}

}  // namespace adequacy
