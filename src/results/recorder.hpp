#pragma once
// Collects the figures of a run as its phases finish and keeps the results
// file up to date: rewritten whole after the direct solutions and after every
// simulation report, so that an interrupted run leaves its last complete
// results.

#include <array>
#include <optional>
#include <span>
#include <string>

#include "direct/case_solutions.hpp"
#include "direct/outage_table.hpp"
#include "model/loads.hpp"
#include "montecarlo/independent/year_record.hpp"
#include "montecarlo/state.hpp"
#include "results/read_back.hpp"
#include "results/results.hpp"
#include "results/results_file.hpp"

namespace adequacy::results {

struct Recorder {
    ResultsFile file;
    Results results;
    ReadBack readBack;  // working sums of the report being read back
};

SystemInfo systemInfo(const std::string& source, int units, const CapacityTables& tables);

// Expected loss-of-load hours per month and hour: each hour's LOLP against
// the whole-system table, summed over the days of its month.
MonthHourGrid expectedLolHours(const CapacityTables& tables, const HourlyLoads& loads);

// `parameters` is null for loads given hour by hour.
void recordSingleArea(Recorder& recorder, const CapacityTables& tables, const HourlyLoads& loads,
                      const LoadParameters* parameters, const AnnualIndices& indices);

// One ATC table tried; a refused one carries no solutions. Area 1's exact
// figures as simulated are solved for `loads` unless the caller records
// them otherwise (recordTwoAreaCases).
void recordTwoArea(Recorder& recorder, const CapacityTables& tables, const HourlyLoads& loads,
                   const AtcTable& atc, const AnnualIndices* area1, const AnnualIndices* area0,
                   bool solveExactArea1 = true);

// A system that varies: the weather years' indices of the solution just
// recorded (whose indices are their mean), and for the two areas the exact
// area-1 figures over every case.
void recordSingleAreaCases(Recorder& recorder, const CaseIndices& cases,
                           std::span<const double> weights);
void recordTwoAreaCases(Recorder& recorder, const CaseIndices& area1, const CaseIndices& area0,
                        std::span<const double> weights,
                        const std::optional<Area1AsSimulatedCases>& asSimulated);

// The independent engine's figures over its first `years` years.
void recordIndependentYears(Recorder& recorder, const independent::RunYears& runYears);

void recordSimulationStart(Recorder& recorder, unsigned seed, int yearsRequested);

// What the report shows beside the read-back sums.
struct ReportFigures {
    const std::array<double, simulatedIndices>& system;
    const std::array<int, simulatedIndices>& systemSd;
    const std::array<double, simulatedIndices>& area1;
    const std::array<int, simulatedIndices>& area1Sd;
    const std::array<int, atcRows>& tieSd;
    double area1EueppM;
};

// Adds the report just written, from the sums of its read-back, and the
// month x hour tallies and convergence as of its year.
void recordReport(Recorder& recorder, const SimulationState& state, const AtcTable& atc,
                  const ReportFigures& figures);

// Rewrites the results file (a fatal I/O error if it cannot be written).
void writeResults(Recorder& recorder);

}  // namespace adequacy::results
