#include "driver/capacity_run.hpp"

#include <ostream>

#include "driver/options.hpp"
#include "driver/system_choice.hpp"
#include "report/fatal.hpp"
#include "results/json.hpp"
#include "studies/capacity_console.hpp"
#include "studies/capacity_json.hpp"
#include "system/candidate_file.hpp"

namespace adequacy {
namespace {

// Every candidate read and checked with the system, before anything is
// written; nothing on the first fault, after its line on `errors`.
std::optional<std::vector<CandidateUnits>> readCandidates(const studies::CapacityRequest& request,
                                                          const StudySystem& system,
                                                          std::ostream& errors) {
    std::vector<CandidateUnits> candidates;
    for (const std::string& path : request.candidatePaths) {
        auto read = system::readCandidateFile(path);
        if (auto* error = std::get_if<system::SystemFileError>(&read)) {
            errors << "adequacy: " << system::describe(*error) << '\n' << std::flush;
            return std::nullopt;
        }
        candidates.push_back(std::get<CandidateUnits>(std::move(read)));
        if (const std::string fault = system::combinedFault(system, candidates.back());
            !fault.empty()) {
            errors << "adequacy: " << system::describe({path, 0, fault}) << '\n' << std::flush;
            return std::nullopt;
        }
    }
    return candidates;
}

}  // namespace

int runCapacityCommand(const studies::CapacityRequest& request, std::ostream& out,
                       std::ostream& errors) {
    const std::optional<StudySystem> system = chooseStudySystem(request.systemPath, errors);
    if (!system) return systemFileErrorStatus;
    const auto candidates = readCandidates(request, *system, errors);
    if (!candidates) return systemFileErrorStatus;
    if (request.jsonPath) results::checkResultsDirectory(*request.jsonPath);
    auto study = studies::runCapacityStudy(*system, *candidates, request.target, request.form,
                                           request.simulation);
    if (auto* fault = std::get_if<std::string>(&study)) {
        errors << "adequacy: capacity: " << *fault << '\n' << std::flush;
        return report::exitAnalysisStopped;
    }
    const auto& results = std::get<studies::CapacityResults>(study);
    out << studies::capacitySummary(results) << std::flush;
    if (!out) report::fatalIoError("console", "cannot be written");
    if (request.jsonPath)
        results::writeJsonFile(*request.jsonPath, studies::capacityDocument(results));
    return report::exitNormal;
}

}  // namespace adequacy
