#pragma once
// A varying system's years in the results file beside their figures: the
// weather year each took, and the weights and demands the run weighed them
// by, so that runs of disjoint years put together weigh them alike.

#include <nlohmann/json.hpp>
#include <string>

#include "montecarlo/independent/year_record.hpp"

namespace adequacy::results {

// Adds the weather-year column and the cases to the columns of a varying
// system's run.
void addCaseColumns(const independent::RunYears& run, nlohmann::ordered_json& columns);

// Reads them back into years already read; empty when they hold, else
// what is wrong. A plain system's columns have none.
std::string readCaseColumns(const nlohmann::ordered_json& columns, independent::RunYears& run);

// The years of step s alone, as a run of a single step.
independent::RunYears stepYears(const independent::RunYears& run, std::size_t step);

}  // namespace adequacy::results
