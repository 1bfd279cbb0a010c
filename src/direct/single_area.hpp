#pragma once
// The single-area direct solution: the whole system as one area, evaluated
// hour by hour against the total-system capacity outage table.

#include "direct/outage_table.hpp"
#include "model/loads.hpp"
#include "report/channel.hpp"

namespace adequacy {

// The annual indices of a direct solution.
struct AnnualIndices {
    double lolh = 0.0;
    double lole = 0.0;
    double allr = 0.0;
    double alolp = 0.0;  // ~ALOLP
    double mwhEue = 0.0;
    double mwhTotal = 0.0;
    double puEueppm = 0.0;
};

AnnualIndices computeSingleArea(const CapacityTables& tables, const HourlyLoads& loads,
                                float mttrFactor);

// `generationMttr` to the power 0.4, which ~ALOLP divides by.
float computeMttrFactor(float generationMttr);

// Writes the hourly tables, the solution block, the reserve margin and the
// console summary, and moves the processor-time mark.
void reportSingleArea(const CapacityTables& tables, const HourlyLoads& loads,
                      const LoadParameters& parameters, const AnnualIndices& indices,
                      float& cpuMark, report::Channel& console, report::Channel& reportFile);

}  // namespace adequacy
