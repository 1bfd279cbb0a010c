#pragma once
// The results as one JSON document (schema in doc/results.md), and the file
// that holds it.

#include <nlohmann/json.hpp>
#include <string>

#include "results/results.hpp"

namespace adequacy::results {

nlohmann::ordered_json toJson(const Results& results);

// The document as the results file holds it.
std::string resultsText(const Results& results);

}  // namespace adequacy::results
