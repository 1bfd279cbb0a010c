#include "system/file_error.hpp"

#include "report/escaped_text.hpp"

namespace adequacy::system {

std::string describe(const SystemFileError& error) {
    std::string text = report::withControlsEscaped(error.file);
    if (error.line > 0) text.append(":").append(std::to_string(error.line));
    return text.append(": ").append(error.what);
}

}  // namespace adequacy::system
