#pragma once
// The results as one JSON document (schema in doc/results.md), and the file
// that holds it.

#include <nlohmann/json.hpp>
#include <string>

#include "results/results.hpp"

namespace adequacy::results {

nlohmann::ordered_json toJson(const Results& results);

// The document's first two members, which every results file begins with.
nlohmann::ordered_json programJson();
nlohmann::ordered_json systemJson(const SystemInfo& system);

// The document as the results file holds it.
std::string resultsText(const Results& results);

// Writes a document once, whole, in the file's place as the results file is
// written (see results_file.hpp). Failing is a fatal I/O error.
void writeJsonFile(const std::string& path, const nlohmann::ordered_json& document);

// The "monte_carlo" part of the document.
nlohmann::ordered_json monteCarloJson(const MonteCarloResults& monteCarlo);

// Fails as writeResultsFile would when the file cannot be made where `path`
// names it (a directory that is missing or not writable), so that a run
// finds out before it empties its report.
void checkResultsDirectory(const std::string& path);

}  // namespace adequacy::results
