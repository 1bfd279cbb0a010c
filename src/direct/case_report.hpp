#pragma once
// The report lines of a system that varies: what varies, once before the
// direct solutions, and each solution's weather years beside their mean.

#include <span>
#include <string_view>

#include "direct/case_solutions.hpp"
#include "model/study_system.hpp"
#include "report/channel.hpp"

namespace adequacy {

void writeVariationLines(report::Channel& channel, const StudySystem& system,
                         const LoadCases& cases);

// `title` names the solution ("SINGLE AREA", "AREA 1", ...).
void writeWeatherYears(report::Channel& channel, std::string_view title, const CaseIndices& cases,
                       std::span<const double> weights);

}  // namespace adequacy
