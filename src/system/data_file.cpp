#include "system/data_file.hpp"

#include <filesystem>

#include "report/escaped_text.hpp"
#include "system/file_text.hpp"
#include "system/system_limits.hpp"

namespace adequacy::system {

DataFile readDataFile(const TomlSource& source, const toml::node& node, const std::string& name) {
    DataFile file;
    file.written = stringValue(source, node, name);
    // A line end would split the lines that name the file, a NUL cut its name.
    if (report::holdsControls(file.written))
        source.fail(node, name + ": the path holds a control character: " +
                              report::withControlsEscaped(file.written));
    std::filesystem::path path(file.written);
    if (path.is_relative()) path = std::filesystem::path(source.path()).parent_path() / path;
    file.resolved = path.string();
    file.shown = report::withControlsEscaped(file.resolved);
    FileText text = readFileText(file.resolved, maxHourlyFileBytes);
    if (!text.problem.empty()) source.fail(node, name + ": " + file.shown + ": " + text.problem);
    file.text = std::move(text.text);
    return file;
}

}  // namespace adequacy::system
