#pragma once
// Report lines shared by the direct solutions.

#include <string_view>

#include "direct/single_area.hpp"
#include "report/channel.hpp"

namespace adequacy {

void writeSolutionBlock(report::Channel& channel, std::string_view title, float seconds,
                        const AnnualIndices& indices);

// (installed - peak) / peak * 100, in percent.
void writeReserveMargin(report::Channel& channel, int capacity, float peak);

void writeConsoleSummary(report::Channel& console, const AnnualIndices& indices);

void writeConsoleTime(report::Channel& console, float seconds);

}  // namespace adequacy
