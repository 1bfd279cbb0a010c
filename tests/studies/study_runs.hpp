#pragma once
// Runs of the real program in a folder of system and candidate files, read
// back from their results files.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "e2e/program_run.hpp"
#include "system/system_files.hpp"

namespace adequacy::testing {

// `adequacy ARGS --json r.json` in the folder; its results, or null when
// the run fails.
inline nlohmann::json resultsOf(const SystemFileFolder& folder, std::vector<std::string> args) {
    args.insert(args.end(), {"--json", "r.json"});
    const std::filesystem::path results = folder.path("r.json");
    std::filesystem::remove(results);
    const ProgramRun run = runProgram("", RunSetup{.workDirectory = folder.path(""), .args = args});
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    if (run.exitStatus != 0) return nullptr;
    return nlohmann::json::parse(readFile(results.string()));
}

// A unit type of a system or candidate file, out of service `forcedOutageRate`
// of the hours.
inline std::string unitType(int mw, double forcedOutageRate) {
    return "[[unit_type]]\npmax_mw = " + std::to_string(mw) +
           "\nderated_mw = 0\nforced_outage_rate = " + std::to_string(forcedOutageRate) +
           "\nderated_probability = 0.0\nmttr_days = 7\n";
}

}  // namespace adequacy::testing
