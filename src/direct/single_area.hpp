#pragma once
// The single-area direct solution: the whole system as one area, evaluated
// hour by hour against the total-system capacity outage table.

#include <optional>
#include <string_view>

#include "direct/annual_indices.hpp"
#include "direct/outage_table.hpp"
#include "model/loads.hpp"
#include "report/channel.hpp"

namespace adequacy {

AnnualIndices computeSingleArea(const CapacityTables& tables, const HourlyLoads& loads,
                                float mttrFactor);

// `generationMttr` to the power 0.4, which ~ALOLP divides by.
float computeMttrFactor(float generationMttr);

// Writes the hourly tables, the solution block, the reserve margin and the
// console summary, and moves the processor-time mark. The loads come from
// the parameters, which the echo lines show, or, when `loadsFile` names one,
// from that file, which one line names instead.
void reportSingleArea(const CapacityTables& tables, const HourlyLoads& loads,
                      const LoadParameters& parameters, const AnnualIndices& indices,
                      float& cpuMark, report::Channel& console, report::Channel& reportFile,
                      std::optional<std::string_view> loadsFile = std::nullopt);

}  // namespace adequacy
