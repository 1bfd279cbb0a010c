#pragma once
// The direct solutions of a system that varies: every weather year at every
// step of the load forecast, each day against the tables of the units in
// service that day. A weather year's indices are its steps' weighted sum;
// the system's are the weather years' weighted mean.

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "direct/annual_indices.hpp"
#include "direct/area1_as_simulated.hpp"
#include "direct/atc_table.hpp"
#include "direct/outage_table.hpp"
#include "direct/two_area.hpp"
#include "model/load_cases.hpp"
#include "model/variation.hpp"

namespace adequacy {

// The tables of each distinct set of units in service, built once.
struct ServiceTables {
    std::vector<CapacityTables> tables;
    std::array<int, daysPerYear> setOfDay{};

    int count() const { return static_cast<int>(tables.size()); }
};

// Without maintenance, the one set is the system's own tables, copied.
void buildServiceTables(const UnitTypes& units, const CapacityTables& systemTables,
                        std::span<const MaintenanceWindow> windows, ServiceTables& service);

struct CaseIndices {
    std::vector<AnnualIndices> byWeatherYear;
    AnnualIndices mean;
};

// The weighted sum of indices, their energy ratio formed anew from the sums.
AnnualIndices weightedIndices(std::span<const AnnualIndices> indices,
                              std::span<const double> weights);

CaseIndices solveSingleAreaCases(const ServiceTables& service, const LoadCases& cases,
                                 float mttrFactor);

CaseIndices solveTwoAreaCases(ReceivingArea area, const ServiceTables& service,
                              const LoadCases& cases, const AtcTable& atc, float mttrFactor);

// Area 1 as the simulation models the tie, each day against the tables of
// the units then in service.
class Area1AsSimulatedSets {
  public:
    // None when the simulated tie cannot run on the table. It reads the
    // tables and the ATC table, which must outlive it.
    static std::optional<Area1AsSimulatedSets> prepare(const ServiceTables& service,
                                                       const AtcTable& atc);
    Area1AsSimulated solve(const HourlyLoads& loads, const Area1LoadChange& change = {}) const;

  private:
    const ServiceTables* service_ = nullptr;
    std::vector<Area1AsSimulatedSolver> solvers_;
};

// Area 1 as the simulation models the tie, over every case; none when the
// simulated tie cannot run on the table.
struct Area1AsSimulatedCases {
    Area1AsSimulated mean;                        // over the weather years, weighted
    std::vector<Area1AsSimulated> byWeatherYear;  // each its steps' weighted sum
};

std::optional<Area1AsSimulatedCases> solveArea1AsSimulatedCases(const ServiceTables& service,
                                                                const LoadCases& cases,
                                                                const AtcTable& atc);

}  // namespace adequacy
