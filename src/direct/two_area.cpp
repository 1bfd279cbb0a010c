#include "direct/two_area.hpp"

#include <array>
#include <cmath>
#include <memory>

#include "direct/assistance.hpp"
#include "direct/assisted_table.hpp"
#include "direct/solution_block.hpp"
#include "report/clock.hpp"
#include "report/free_format.hpp"

namespace adequacy {
namespace {

// Below the table's range the terms of the unserved-energy sum repeat; they
// are added one by one, as many as a non-negative load can produce, and
// beyond that (negative loads only) as one product.
constexpr double maxRepeatedTerms = 8192.0;

// The assistance of an hour depends only on the supplying area's load, and
// the load model gives at most 72 distinct loads (three seasons of 24 hours):
// each distinct load's assistance and assisted table are built once. A year
// of loads from a file may hold more; beyond the cache the last entry is
// rebuilt for every new load.
inline constexpr int cachedLoads = 128;

struct CachedHour {
    double supplyingLoad = 0.0;
    HourAssistance assistance;
    AssistedTable assisted;
};

struct Workspace {
    explicit Workspace(int tableTop) {
        for (CachedHour& entry : entries)
            entry.assisted.table.entries.assign(static_cast<std::size_t>(tableTop) + 2, 0.0f);
    }
    LevelSums sums;
    std::array<CachedHour, cachedLoads + 1> entries;  // the last one is scratch
    int used = 0;
};

const AssistedTable& assistedTableFor(const AssistanceSource& source, double supplyingLoad,
                                      const OutageTable& receiving, const TableSummary& r,
                                      Workspace& work) {
    // Every NaN load gives the same assistance: whatever the NaN, it reads
    // table index 0.
    const bool unknown = std::isnan(supplyingLoad);
    for (int i = 0; i < work.used; ++i) {
        CachedHour& entry = work.entries[static_cast<std::size_t>(i)];
        if (entry.supplyingLoad == supplyingLoad || (unknown && std::isnan(entry.supplyingLoad)))
            return entry.assisted;
    }
    CachedHour& entry = work.entries[static_cast<std::size_t>(work.used)];
    if (work.used < cachedLoads) ++work.used;
    entry.supplyingLoad = supplyingLoad;
    computeAssistance(source, supplyingLoad, work.sums, entry.assistance);
    buildAssistedTable(receiving, r.capacity, r.topIndex, entry.assistance, entry.assisted);
    return entry.assisted;
}

float receivingLoad(ReceivingArea area, float total, float area1) {
    return area == ReceivingArea::area1 ? area1 : wholeArea0Load(total, area1);
}

// Adds Q(IX(v)) for every whole v from the threshold up to the load, in that
// order. Where IX is clamped at the table's ends the terms repeat: above the
// assisted capacity they are all Q(-1) = 1 and are added as one count.
void addUnservedMw(const AssistedTable& a, int threshold, float load, double& mwhEue) {
    if (!(static_cast<double>(threshold) <= load)) return;
    const double last = std::trunc(static_cast<double>(load));
    const double capacity = a.capacity;
    const int tableTop = a.table.top();
    double v = threshold;
    const double q3000 = a.table.at(tableTop);
    const double repeated = std::fmax(0.0, std::fmin(last + 1.0, capacity - tableTop) - v);
    if (q3000 != 0.0 && repeated <= maxRepeatedTerms) {
        for (; v <= last && capacity - v > tableTop; v += 1.0) mwhEue += q3000;
    } else {
        mwhEue += q3000 * repeated;
        v += repeated;
    }
    for (; v <= last && v <= capacity; v += 1.0)
        mwhEue += a.table.at(static_cast<int>(capacity - v));
    if (v <= last) mwhEue += last - v + 1.0;
}

// The whole-MW sum stops at the load's integer part; the fraction above it
// falls short with the probability of the next whole MW.
void addPartialMw(const AssistedTable& a, float load, double& mwhEue) {
    const double whole = std::floor(static_cast<double>(load));
    const double part = load - whole;
    if (!(part > 0.0)) return;  // whole loads, and NaN
    const float next = static_cast<float>(whole + 1.0);
    mwhEue += part * a.table.at(IX(next, a.capacity, a.table.top()));
}

}  // namespace

AnnualIndices computeTwoArea(ReceivingArea area, const CapacityTables& tables,
                             const HourlyLoads& loads, const AtcTable& atc, float mttrFactor) {
    const bool area1 = area == ReceivingArea::area1;
    const OutageTable& receiving = area1 ? tables.area1OutageTable : tables.area0OutageTable;
    const TableSummary& r = area1 ? tables.area1 : tables.area0;
    AssistanceSource source{atc, area1, area1 ? tables.area0OutageTable : tables.area1OutageTable,
                            area1 ? tables.area0.capacity : tables.area1.capacity,
                            area1 ? loads.area1Peak : loads.area0Peak};
    auto work = std::make_unique<Workspace>(tables.top);
    // An area's LOLE and ALLR take each day's peak hour of the area's own
    // load (for the model's loads, the shape's peak hour, as for the system).
    const DailyPeakHours& peakHours = area1 ? loads.area1PeakHour : loads.area0PeakHour;
    IndexSums sums;
    for (int day = 1; day <= daysPerYear; ++day) {
        for (int hour = 1; hour <= hoursPerDay; ++hour) {
            auto index = static_cast<std::size_t>(hourIndex(day, hour));
            float total = loads.total[index];
            float a1 = loads.area1[index];
            double supplyingLoad = area1 ? static_cast<double>(total) - a1 : a1;
            const AssistedTable& assisted =
                assistedTableFor(source, supplyingLoad, receiving, r, *work);
            float load = receivingLoad(area, total, a1);
            const float lolp = assisted.table.at(IX(load, assisted.capacity, tables.top));
            record(sums, isPeakHour(peakHours, day, hour), lolp, load);
            addUnservedMw(assisted, r.lossThreshold, load, sums.indices.mwhEue);
            addPartialMw(assisted, load, sums.indices.mwhEue);
        }
    }
    return finish(sums, mttrFactor);
}

float solveTwoAreas(const CapacityTables& tables, const HourlyLoads& loads, const AtcTable& atc,
                    float mttrFactor, float& cpuMark, report::Channel& console,
                    report::Channel& reportFile, TwoAreaIndices* solved) {
    AnnualIndices area1 = computeTwoArea(ReceivingArea::area1, tables, loads, atc, mttrFactor);
    float cpuNow = report::processorSeconds();
    float seconds = static_cast<float>(static_cast<double>(cpuNow) - cpuMark);
    report::writeFree(reportFile);
    writeSolutionBlock(reportFile, " AREA 1  A1  DIRECT SOLUTION TIME = ", seconds, area1);
    float area1EnergyDemand = static_cast<float>(area1.mwhTotal);
    writeReserveMargin(reportFile, tables.area1.capacity, loads.area1Peak);
    cpuMark = cpuNow;
    report::writeFree(console, {" "});
    report::writeFree(console, {"   AREA 1 DIRECT SOLUTION INDICES"});
    writeConsoleSummary(console, area1);

    AnnualIndices area0 = computeTwoArea(ReceivingArea::area0, tables, loads, atc, mttrFactor);
    cpuNow = report::processorSeconds();
    seconds = static_cast<float>(static_cast<double>(cpuNow) - cpuMark);
    report::writeFree(reportFile);
    writeSolutionBlock(reportFile, " AREA 0  A0  DIRECT SOLUTION TIME = ", seconds, area0);
    writeReserveMargin(reportFile, tables.area0.capacity, loads.area0Peak);
    report::writeFree(console, {" "});
    report::writeFree(console, {"   AREA 0 DIRECT SOLUTION INDICES"});
    writeConsoleSummary(console, area0);
    writeConsoleTime(console, seconds);
    cpuMark = cpuNow;
    if (solved) *solved = {area1, area0};
    return area1EnergyDemand;
}

}  // namespace adequacy
