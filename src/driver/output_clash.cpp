#include "driver/output_clash.hpp"

#include <vector>

#include "report/escaped_text.hpp"
#include "report/file_target.hpp"

namespace adequacy {
namespace {

struct NamedFile {
    std::string role;  // "the report file", ...
    std::string path;
    report::FileIdentity identity;
};

NamedFile named(std::string role, const std::string& path) {
    return {std::move(role), path, report::identify(path)};
}

std::string shown(const NamedFile& file) {
    return file.role + " " + report::withControlsEscaped(file.path);
}

}  // namespace

std::optional<std::string> outputClash(const Options& options, const StudySystem& system) {
    std::vector<NamedFile> files{named("the report file", options.reportPath)};
    if (options.jsonPath) files.push_back(named("the results file", *options.jsonPath));
    const std::size_t outputs = files.size();
    if (options.systemPath) files.push_back(named("the system file", *options.systemPath));
    if (system.hourlyLoads && !system.hourlyLoads->filePath.empty())
        files.push_back(named("its hourly-load file", system.hourlyLoads->filePath));
    for (const VariableResource& resource : system.variables)
        if (!resource.filePath.empty())
            files.push_back(named("the hourly file of " + resource.name, resource.filePath));
    // Each output against the files after it: the other output and the inputs.
    for (std::size_t o = 0; o < outputs; ++o)
        for (std::size_t other = o + 1; other < files.size(); ++other)
            if (report::clobbers(files[o].identity, files[other].identity))
                return shown(files[o]) + " and " + shown(files[other]) +
                       " are the same file: each output needs a file of its own";
    return std::nullopt;
}

}  // namespace adequacy
