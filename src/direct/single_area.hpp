#pragma once
// The single-area direct solution: the whole system as one area, evaluated
// hour by hour against the total-system capacity outage table.

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "direct/annual_indices.hpp"
#include "direct/outage_table.hpp"
#include "model/loads.hpp"
#include "report/channel.hpp"

namespace adequacy {

// With `tails`, the sums P(x) + P(x + 1) + ... of the total table from each
// level x up to its last significant one (tableTails), an hour's unserved
// energy is one look-up instead of a sum over the table: for studies that
// solve many years of loads. The figures are the same but for rounding.
AnnualIndices computeSingleArea(const CapacityTables& tables, const HourlyLoads& loads,
                                float mttrFactor, std::span<const double> tails = {});

// Adds the hours of the days taken to `sums`.
void addSingleArea(const CapacityTables& tables, const HourlyLoads& loads, DayFilter days,
                   std::span<const double> tails, IndexSums& sums);

std::vector<double> tableTails(const CapacityTables& tables);

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
