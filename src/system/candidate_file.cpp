#include "system/candidate_file.hpp"

#include <utility>

#include "model/load_cases.hpp"
#include "system/file_text.hpp"
#include "system/system_limits.hpp"
#include "system/toml_values.hpp"
#include "system/unit_lists.hpp"
#include "system/variation_keys.hpp"

namespace adequacy::system {
namespace {

CandidateUnits readCandidate(const std::string& path, std::string text) {
    const TomlSource source(path, std::move(text));
    const toml::table root = parseSource(source, "candidate file");
    rejectUnknownKeys(source, root, "", {"unit_type", "area1", "area0", "variable"});
    CandidateUnits candidate;
    candidate.source = path;
    candidate.variables = readVariableList(source, root, 0, "");
    if (!candidate.variables.empty() && root.get("unit_type") == nullptr) return candidate;
    candidate.types = readUnitTypes(source, root);
    const int typeCount = static_cast<int>(candidate.types.size());
    // One list for both areas, so that their count and capacity are checked
    // together, as a system file's are.
    std::vector<int> units;
    for (const auto& [name, list] :
         {std::pair{"area1", &candidate.area1Units}, std::pair{"area0", &candidate.area0Units}}) {
        if (root.get(name) == nullptr) continue;
        const std::size_t before = units.size();
        appendArea(source, readArea(source, root, name, typeCount), name, candidate.types, units);
        list->assign(units.begin() + static_cast<std::ptrdiff_t>(before), units.end());
    }
    if (candidate.area1Units.empty() && candidate.area0Units.empty())
        source.failAt(1,
                      "missing key area1 or area0: the units the candidate adds to an area "
                      "(or variable, for a variable resource)");
    return candidate;
}

}  // namespace

std::variant<CandidateUnits, SystemFileError> readCandidateFile(const std::string& path) {
    FileText file = readFileText(path, maxSystemFileBytes);
    if (!file.problem.empty()) return SystemFileError{path, 0, file.problem};
    return readCandidateText(path, std::move(file.text));
}

std::variant<CandidateUnits, SystemFileError> readCandidateText(const std::string& path,
                                                                std::string text) {
    try {
        return readCandidate(path, std::move(text));
    } catch (const SystemFileFailure& failure) {
        return failure.error;
    }
}

std::string combinedFault(const StudySystem& system, const CandidateUnits& candidate) {
    const std::size_t units =
        system.unitTypes.size() + candidate.area1Units.size() + candidate.area0Units.size();
    if (units > static_cast<std::size_t>(maxUnits))
        return "the system with these units would have " + std::to_string(units) +
               " units; at most " + std::to_string(maxUnits) + " are allowed";
    if (!candidate.variables.empty()) {
        const std::size_t years = candidate.variables.front().mw.size() / hoursPerYear;
        const auto systemYears = static_cast<std::size_t>(weatherYearsOf(system));
        if (years != systemYears)
            return std::string("its variable resources hold ")
                .append(std::to_string(years))
                .append(years == 1 ? " weather year, the system " : " weather years, the system ")
                .append(std::to_string(systemYears))
                .append("; they need the same");
        for (const VariableResource& resource : candidate.variables)
            for (const VariableResource& own : system.variables)
                if (own.name == resource.name)
                    return "the system has a variable resource named \"" + own.name + "\" already";
    }
    long long mw = installedMw(candidate);
    for (int t : system.unitTypes) mw += system.types[static_cast<std::size_t>(t)].pmaxMw;
    if (mw > maxMw)
        return "the system with these units would have an installed capacity of " +
               std::to_string(mw) + " MW; at most " + std::to_string(maxMw) + " MW are allowed";
    return "";
}

}  // namespace adequacy::system
