#pragma once
// The independent engine's single years in the results file, one column per
// figure, and read back: the data `adequacy merge` puts runs together from.

#include <nlohmann/json.hpp>
#include <string>

#include "montecarlo/independent/year_record.hpp"

namespace adequacy::results {

nlohmann::ordered_json yearColumns(const independent::RunYears& years);

// Empty when the columns hold the years; else what is wrong with them.
std::string readYearColumns(const nlohmann::ordered_json& columns, independent::RunYears& years);

}  // namespace adequacy::results
