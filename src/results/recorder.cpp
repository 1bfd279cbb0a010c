#include "results/recorder.hpp"

#include "direct/outage_table.hpp"
#include "montecarlo/reporting/statistics.hpp"
#include "results/json.hpp"

namespace adequacy::results {

namespace {

double reserveMargin(int capacity, float peak) {
    // As the report forms it, in single precision.
    return static_cast<float>((capacity - static_cast<double>(peak)) / peak * 100.0);
}

// The report's integer fields show asterisks beyond their width.
std::optional<int> shownSd(int sd, int width) {
    long long limit = 1;
    for (int digit = 0; digit < width; ++digit) limit *= 10;
    if (sd >= limit || sd <= -(limit / 10)) return std::nullopt;
    return sd;
}

inline constexpr int areaSdWidth = 3;  // I3
inline constexpr int tieSdWidth = 4;   // I4

SimulatedArea simulatedArea(const std::array<double, simulatedIndices>& estimates,
                            const std::array<int, simulatedIndices>& sd,
                            const AreaReadBack& readBack) {
    SimulatedArea area;
    for (std::size_t i = 0; i < area.size(); ++i)
        area[i] = {estimates[i], shownSd(sd[i], areaSdWidth), standardError(readBack.values[i])};
    return area;
}

std::vector<TieRow> tieRows(const SimulationState& state, const AtcTable& atc,
                            const std::array<int, atcRows>& sd, const ReadBack& readBack) {
    const double n = state.yearCount;
    const double hours = n * hoursPerYear;
    std::vector<TieRow> rows;
    for (int row = 1; row <= atcTieStates; ++row) {
        const auto i = static_cast<std::size_t>(row - 1);
        const double stateHours = state.tie.atcStateHours[i];
        if (!(stateHours > 0.0)) continue;
        const double limited = state.atcLimitedLolHours[i];
        rows.push_back({row,
                        atc.mw[i],
                        atc.probability[i],
                        limited,
                        {limited / n, shownSd(sd[i], tieSdWidth), standardError(readBack.tie[i])},
                        stateHours / hours});
    }
    return rows;
}

AreaByMonthHour perYear(const MonthHourTally& tally, int years) {
    AreaByMonthHour grid;
    for (std::size_t cell = 0; cell < grid.lolHours.size(); ++cell) {
        grid.lolHours[cell] = tally.lolHours[cell] / years;
        grid.unservedMwh[cell] = tally.unservedMwh[cell] / years;
    }
    return grid;
}

}  // namespace

SystemInfo systemInfo(const std::string& source, int units, const CapacityTables& tables) {
    return {source, units, tables.total.capacity, tables.area1.capacity, tables.area0.capacity};
}

MonthHourGrid expectedLolHours(const CapacityTables& tables, const HourlyLoads& loads) {
    MonthHourGrid grid{};
    for (int index = 0; index < hoursPerYear; ++index) {
        const float load = loads.total[static_cast<std::size_t>(index)];
        const float lolp = tables.totalOutageTable.at(
            IX(load, tables.total.capacity, tables.totalOutageTable.top()));
        grid[static_cast<std::size_t>(monthHourCell(index))] += lolp;
    }
    return grid;
}

void recordSingleArea(Recorder& recorder, const CapacityTables& tables, const HourlyLoads& loads,
                      const LoadParameters* parameters, const AnnualIndices& indices) {
    std::optional<LoadParameters> given;
    if (parameters != nullptr) given = *parameters;
    recorder.results.singleArea.push_back({given,
                                           loads.totalPeak,
                                           reserveMargin(tables.total.capacity, loads.totalPeak),
                                           indices,
                                           {}});
    recorder.results.singleAreaLolHours = expectedLolHours(tables, loads);
}

void recordTwoArea(Recorder& recorder, const CapacityTables& tables, const HourlyLoads& loads,
                   const AtcTable& atc, const AnnualIndices* area1, const AnnualIndices* area0,
                   bool solveExactArea1) {
    TwoAreaEntry entry;
    entry.atc = atc;
    entry.refused = area1 == nullptr || area0 == nullptr;
    if (!entry.refused) {
        entry.area1 = {*area1, reserveMargin(tables.area1.capacity, loads.area1Peak), {}};
        entry.area0 = {*area0, reserveMargin(tables.area0.capacity, loads.area0Peak), {}};
    }
    if (solveExactArea1) entry.area1AsSimulated = solveArea1AsSimulated(tables, loads, atc);
    recorder.results.twoArea.push_back(entry);
}

namespace {

std::vector<WeatherYearIndices> weatherYearsOf(const CaseIndices& cases,
                                               std::span<const double> weights) {
    std::vector<WeatherYearIndices> years;
    for (std::size_t w = 0; w < cases.byWeatherYear.size(); ++w)
        years.push_back({weights[w], cases.byWeatherYear[w]});
    return years;
}

}  // namespace

void recordSingleAreaCases(Recorder& recorder, const CaseIndices& cases,
                           std::span<const double> weights) {
    recorder.results.singleArea.back().weatherYears = weatherYearsOf(cases, weights);
}

void recordTwoAreaCases(Recorder& recorder, const CaseIndices& area1, const CaseIndices& area0,
                        std::span<const double> weights,
                        const std::optional<Area1AsSimulatedCases>& asSimulated) {
    TwoAreaEntry& entry = recorder.results.twoArea.back();
    entry.area1.weatherYears = weatherYearsOf(area1, weights);
    entry.area0.weatherYears = weatherYearsOf(area0, weights);
    entry.area1AsSimulated.reset();
    if (!asSimulated) return;
    entry.area1AsSimulated = asSimulated->mean;
    entry.area1AsSimulatedByWeatherYear = asSimulated->byWeatherYear;
}

void recordSimulationStart(Recorder& recorder, unsigned seed, int yearsRequested) {
    MonteCarloResults& monteCarlo = recorder.results.monteCarlo.emplace();
    monteCarlo.seed = seed;
    monteCarlo.yearsRequested = yearsRequested;
}

void recordReport(Recorder& recorder, const SimulationState& state, const AtcTable& atc,
                  const ReportFigures& figures) {
    if (!recorder.results.monteCarlo) recordSimulationStart(recorder, 0, state.yearCount);
    MonteCarloResults& monteCarlo = *recorder.results.monteCarlo;
    const ReadBack& readBack = recorder.readBack;
    SimulationReport report;
    report.years = state.yearCount;
    report.system = simulatedArea(figures.system, figures.systemSd, readBack.system);
    report.area1 = simulatedArea(figures.area1, figures.area1Sd, readBack.area1);
    report.area1EueppM = figures.area1EueppM;
    report.tie = tieRows(state, atc, figures.tieSd, readBack);
    monteCarlo.reports.push_back(std::move(report));
    monteCarlo.systemByMonthHour = perYear(state.byMonthHour.system, state.yearCount);
    monteCarlo.area1ByMonthHour = perYear(state.byMonthHour.area1, state.yearCount);
    monteCarlo.convergence.assign(readBack.points.begin(),
                                  readBack.points.begin() + readBack.schedule.count);
}

void writeResults(Recorder& recorder) {
    // A recorder with no file keeps its figures for whoever made it.
    if (recorder.file.opened()) recorder.file.write(resultsText(recorder.results));
}

}  // namespace adequacy::results
