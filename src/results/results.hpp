#pragma once
// Every figure of a run, at full precision, as plain values: what the results
// file holds. The driver and the simulation fill it as the phases finish.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "direct/annual_indices.hpp"
#include "direct/area1_as_simulated.hpp"
#include "direct/atc_table.hpp"
#include "model/calendar.hpp"
#include "model/forecast_steps.hpp"
#include "model/loads.hpp"
#include "model/variation.hpp"
#include "montecarlo/independent/year_record.hpp"
#include "results/variation_figures.hpp"

namespace adequacy::results {

using MonthHourGrid = std::array<double, monthHourCells>;  // month-major, hours 1..24

struct SystemInfo {
    std::string source;
    int units = 0;
    int totalCapacityMw = 0;
    int area1CapacityMw = 0;
    int area0CapacityMw = 0;
};

// What makes the system's years differ, as the run took it.
struct VariationInfo {
    struct Resource {
        std::string name;
        int area = 0;
        std::string path;
        double meanMw = 0.0;  // over every hour of every weather year
        double peakMw = 0.0;
    };
    std::vector<Resource> variables;
    std::vector<double> weatherWeights;
    std::vector<ForecastStep> forecastSteps;
    std::vector<MaintenanceWindow> maintenance;  // units 0-based
};

// A weather year's direct indices: its forecast steps' weighted sum.
struct WeatherYearIndices {
    double weight = 0.0;
    AnnualIndices indices;
};

struct SingleAreaEntry {
    std::optional<LoadParameters> loadParameters;  // none for a chronological year of loads
    double peakMw = 0.0;
    double reserveMarginPercent = 0.0;
    AnnualIndices indices;
    std::vector<WeatherYearIndices> weatherYears;  // for a system that varies
};

struct AreaSolution {
    AnnualIndices indices;
    double reserveMarginPercent = 0.0;
    std::vector<WeatherYearIndices> weatherYears;  // for a system that varies
};

struct TwoAreaEntry {
    AtcTable atc{};
    bool refused = false;
    AreaSolution area1;  // unless refused
    AreaSolution area0;
    // Area 1 under the simulation's model of the tie; none when the
    // simulated tie could not run on the table.
    std::optional<Area1AsSimulated> area1AsSimulated;
    std::vector<Area1AsSimulated> area1AsSimulatedByWeatherYear;  // for a system that varies
};

// A simulated index: the estimate after n years, its SD% as the report shows
// it (none where the report shows asterisks), and the standard error formed
// from the values of the single years.
struct SimulatedIndex {
    double estimate = 0.0;
    std::optional<int> sdPercent;
    double standardError = 0.0;  // NaN below two years
};

inline constexpr int simulatedIndices = 4;  // LOLH, LOLE, ALOLP, MWHEUE
using SimulatedArea = std::array<SimulatedIndex, simulatedIndices>;

struct TieRow {
    int row = 0;
    double mw = 0.0;
    double probability = 0.0;
    double limitedLolHours = 0.0;  // over all simulated years
    SimulatedIndex limitedPerYear;
    double shareOfHours = 0.0;
};

struct SimulationReport {
    int years = 0;
    SimulatedArea system;
    SimulatedArea area1;
    double area1EueppM = 0.0;
    std::vector<TieRow> tie;  // the rows the tie visited
};

struct ConvergenceValues {
    double lolh = 0.0;
    double lolhStandardError = 0.0;
    double mwhEue = 0.0;
    double mwhEueStandardError = 0.0;
};

struct ConvergencePoint {
    int years = 0;
    ConvergenceValues system;
    ConvergenceValues area1;
};

struct AreaByMonthHour {
    MonthHourGrid lolHours{};     // per year
    MonthHourGrid unservedMwh{};  // per year
};

// The spread of one index over the simulated years: what independent years
// give exactly.
struct AnnualDistribution {
    double mean = 0.0;
    double p50 = 0.0;
    double p90 = 0.0;
    double p95 = 0.0;
    double p99 = 0.0;
    double worst5Mean = 0.0;  // the mean of the worst 5 % of the years
};

struct IndependentArea {
    AnnualDistribution lolh;
    AnnualDistribution mwhEue;
    double eventsPerYear = 0.0;  // runs of consecutive loss-of-load hours
    double meanEventHours = 0.0;
    double meanEventMwh = 0.0;
    SimulatedIndex lolePeakHour;  // days short at their peak hour, as the direct solutions count
};

struct IndependentFigures {
    IndependentArea system;
    IndependentArea area1;
};

struct MonteCarloResults {
    std::string engine = "classic";
    unsigned seed = 0;
    unsigned long long firstYear = 1;
    // How the standard errors were formed: from the years themselves
    // (independent years, or linked years in batches of one), or from the
    // means of batches of consecutive years.
    int batchYears = 1;
    // The classic stream's draws so far, in periods of its generator: above 1
    // the stream has gone round and repeated.
    double streamPeriods = 0.0;
    int yearsRequested = 0;
    std::vector<SimulationReport> reports;
    AreaByMonthHour systemByMonthHour;  // as of the last report
    AreaByMonthHour area1ByMonthHour;
    std::vector<ConvergencePoint> convergence;      // as of the last report
    std::optional<IndependentFigures> independent;  // as of the last report
    std::optional<VariationFigures> variation;      // a varying system's, as of the last report
    // The independent engine's years as figures of their own, from which
    // every figure above follows: what lets runs of disjoint years be put
    // together into one.
    std::optional<independent::RunYears> years;
};

struct Results {
    SystemInfo system;
    std::optional<VariationInfo> variation;  // none for a system that does not vary
    std::vector<SingleAreaEntry> singleArea;
    MonthHourGrid singleAreaLolHours{};  // expected, from the last single-area solution
    std::vector<TwoAreaEntry> twoArea;
    std::optional<MonteCarloResults> monteCarlo;
};

}  // namespace adequacy::results
