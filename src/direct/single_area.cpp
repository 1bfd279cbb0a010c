#include "direct/single_area.hpp"

#include <cmath>

#include "direct/solution_block.hpp"
#include "model/numeric.hpp"
#include "montecarlo/reporting/progress.hpp"
#include "report/clock.hpp"
#include "report/free_format.hpp"
#include "report/layout.hpp"

namespace adequacy {
namespace {

float lolp(const OutageTable& table, int capacity, float load) {
    return table.at(IX(load, capacity, table.top()));
}

// Adds the expected MW not served at load L. With m = C - L the margin, an
// outage of x MW leaves x - m unserved when x > m; summed over the table that
// is the tail of P above m, the level that holds m counted for the part of it
// above m. A load above the installed MW adds its excess -m outright, since
// every outage, none included, falls short by it. For whole loads up to the
// installed MW the terms are those of the plain sum P(C - L) + ... + P(top),
// in the same order.
void addUnservedMw(const OutageTable& table, const TableSummary& summary, float load,
                   std::span<const double> tails, double& mwhEue) {
    const double margin = summary.capacity - static_cast<double>(load);
    if (std::isnan(margin)) return;
    int first = 0;
    if (margin >= 0.0) {
        const double level = std::floor(margin);
        if (level > summary.topIndex) return;  // the table holds zeros past it
        first = static_cast<int>(level);
        mwhEue += (level + 1.0 - margin) * table.at(first);
        ++first;
    } else {
        mwhEue += -margin;
    }
    if (!tails.empty()) {
        mwhEue += tails[static_cast<std::size_t>(first)];
        return;
    }
    for (int x = first; x <= summary.topIndex; ++x) mwhEue += table.at(x);
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

std::vector<double> tableTails(const CapacityTables& tables) {
    const int top = tables.total.topIndex;
    std::vector<double> tails(static_cast<std::size_t>(top) + 2, 0.0);
    for (int x = top; x >= 0; --x)
        tails[static_cast<std::size_t>(x)] =
            tails[static_cast<std::size_t>(x) + 1] + tables.totalOutageTable.at(x);
    return tails;
}

void addSingleArea(const CapacityTables& tables, const HourlyLoads& loads, DayFilter days,
                   std::span<const double> tails, IndexSums& sums) {
    const OutageTable& table = tables.totalOutageTable;
    ProgressLine progress = startPhaseProgress("single-area solution: ", "hours", hoursPerYear);
    for (int day = 1; day <= daysPerYear; ++day) {
        if (!days.takes(day)) continue;
        for (int hour = 1; hour <= hoursPerDay; ++hour) {
            float load = loads.total[static_cast<std::size_t>(hourIndex(day, hour))];
            record(sums, isPeakHour(loads.totalPeakHour, day, hour),
                   lolp(table, tables.total.capacity, load), load);
            addUnservedMw(table, tables.total, load, tails, sums.indices.mwhEue);
            advance(progress, hourIndex(day, hour) + 1);
        }
    }
    erase(progress);
}

AnnualIndices computeSingleArea(const CapacityTables& tables, const HourlyLoads& loads,
                                float mttrFactor, std::span<const double> tails) {
    IndexSums sums;
    addSingleArea(tables, loads, DayFilter{}, tails, sums);
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
