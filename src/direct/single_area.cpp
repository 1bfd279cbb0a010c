#include "direct/single_area.hpp"

#include <cmath>

#include "direct/solution_block.hpp"
#include "model/numeric.hpp"
#include "report/clock.hpp"
#include "report/free_format.hpp"
#include "report/layout.hpp"

namespace adequacy {
namespace {

float lolp(const OutageTable& table, int capacity, float load) {
    return table.at(IX(load, capacity, table.top()));
}

// Adds the expected MW not served at load L, term by term: the table
// entries from IX(L) up to the last significant level, past which the table
// holds zeros.
void addUnservedMw(const OutageTable& table, const TableSummary& summary, float load,
                   double& mwhEue) {
    if (!(static_cast<double>(load) >= summary.lossThreshold)) return;  // NaN too
    int first = IX(load, summary.capacity, table.top());
    double count = std::trunc(static_cast<double>(load)) - summary.lossThreshold + 1.0;
    int last = static_cast<int>(std::fmin(first + count - 1.0, summary.topIndex));
    for (int x = first; x <= last; ++x) mwhEue += table.at(x);
}

constexpr std::array<int, 3> representativeDays{1, 201, 11};  // winter, summer, off-peak

void writeHourlyTable(report::Channel& out, const std::array<float, hoursPerYear>& loads,
                      const OutageTable& table, int capacity) {
    report::writeFree(out, {"        WINTER             SUMMER            OFF PEAK"});
    report::writeFree(out, {"HR    MW     LOLP        MW     LOLP        MW    LOLP"});
    for (int hour = 1; hour <= hoursPerDay; ++hour) {
        std::array<float, 3> load{};
        for (std::size_t i = 0; i < 3; ++i)
            load[i] = loads[static_cast<std::size_t>(hourIndex(representativeDays[i], hour))];
        report::write(out, "(I3,3(F7.0,F12.8))",
                      {hour, load[0], lolp(table, capacity, load[0]), load[1],
                       lolp(table, capacity, load[1]), load[2], lolp(table, capacity, load[2])});
    }
}

}  // namespace

float computeMttrFactor(float generationMttr) {
    return static_cast<float>(
        std::pow(static_cast<double>(generationMttr), static_cast<double>(0.4f)));
}

AnnualIndices computeSingleArea(const CapacityTables& tables, const HourlyLoads& loads,
                                float mttrFactor) {
    IndexSums sums;
    const OutageTable& table = tables.totalOutageTable;
    for (int day = 1; day <= daysPerYear; ++day) {
        for (int hour = 1; hour <= hoursPerDay; ++hour) {
            float load = loads.total[static_cast<std::size_t>(hourIndex(day, hour))];
            record(sums, isPeakHour(loads.totalPeakHour, day, hour),
                   lolp(table, tables.total.capacity, load), load);
            addUnservedMw(table, tables.total, load, sums.indices.mwhEue);
        }
    }
    return finish(sums, mttrFactor);
}

void reportSingleArea(const CapacityTables& tables, const HourlyLoads& loads,
                      const LoadParameters& parameters, const AnnualIndices& indices,
                      float& cpuMark, report::Channel& console, report::Channel& reportFile,
                      std::optional<std::string_view> loadsFile) {
    const auto& d = parameters.d;
    const bool fromFile = loadsFile.has_value();
    report::writeFree(reportFile, {" "});
    report::writeFree(reportFile, {" TOTAL SYSTEM HOURLY LOADS:"});
    writeHourlyTable(reportFile, loads.total, tables.totalOutageTable, tables.total.capacity);
    if (fromFile) {
        report::writeFree(reportFile);
        report::writeFree(reportFile, {"LOADS FROM FILE ", *loadsFile});
        report::writeFree(reportFile);
    } else {
        report::write(reportFile, "(/,' D1 MIN, D2 WIN, D3 SUM, D4 ADD =',4I7,/)",
                      {d[0], d[1], d[2], d[3]});
    }
    report::writeFree(reportFile, {" AREA 1 HOURLY LOADS:"});
    writeHourlyTable(reportFile, loads.area1, tables.area1OutageTable, tables.area1.capacity);
    if (!fromFile)
        report::write(reportFile, "(/,' D5 MIN, D6 WIN, D7 SUM =',3I7,/)", {d[4], d[5], d[6]});
    float cpuNow = report::processorSeconds();
    float seconds = static_cast<float>(static_cast<double>(cpuNow) - cpuMark);
    writeSolutionBlock(reportFile, " SINGLE AREA SA DIRECT SOLUTN TIME =", seconds, indices);
    writeReserveMargin(reportFile, tables.total.capacity, loads.totalPeak);
    writeConsoleSummary(console, indices);
    if (fromFile) {
        report::writeFree(console, {"LOADS FROM FILE ", *loadsFile});
    } else {
        report::write(console, "(' D1 MIN, D2 WIN, D3 SUM, D4 ADD =',4I10)",
                      {d[0], d[1], d[2], d[3]});
    }
    writeConsoleTime(console, seconds);
    cpuMark = cpuNow;
}

}  // namespace adequacy
