#include "direct/two_area.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numeric>
#include <vector>

#include "direct/assistance.hpp"
#include "direct/assisted_table.hpp"
#include "direct/solution_block.hpp"
#include "montecarlo/reporting/progress.hpp"
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

// Every NaN load gives the same assistance: whatever the NaN, it reads
// table index 0.
bool sameLoad(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

struct Workspace {
    // Kept tables, as many as the solution takes (see computeTwoArea); the
    // last one is scratch.
    void keep(int tables, int tableTop) {
        entries.resize(static_cast<std::size_t>(tables));
        for (CachedHour& entry : entries)
            entry.assisted.table.entries.assign(static_cast<std::size_t>(tableTop) + 2, 0.0f);
    }
    LevelSums sums;
    std::vector<CachedHour> entries;
    int used = 0;
    std::array<double, hoursPerYear> supplyingLoad;  // by hour index
    std::array<int, hoursPerYear> byLoad;            // hour indices, each load's together
    // Solving load by load: each hour's LOLP and unserved MW.
    std::array<float, hoursPerYear> lolp;
    std::array<double, hoursPerYear> unservedMw;
};

const AssistedTable& assistedTableFor(const AssistanceSource& source, double supplyingLoad,
                                      const OutageTable& receiving, const TableSummary& r,
                                      Workspace& work) {
    for (int i = 0; i < work.used; ++i) {
        CachedHour& entry = work.entries[static_cast<std::size_t>(i)];
        if (sameLoad(entry.supplyingLoad, supplyingLoad)) return entry.assisted;
    }
    CachedHour& entry = work.entries[static_cast<std::size_t>(work.used)];
    if (work.used + 1 < static_cast<int>(work.entries.size())) ++work.used;
    entry.supplyingLoad = supplyingLoad;
    computeAssistance(source, supplyingLoad, work.sums, entry.assistance);
    buildAssistedTable(receiving, r.capacity, r.topIndex, entry.assistance, entry.assisted);
    return entry.assisted;
}

// Sorts the hours by supplying load, largest first (NaN last, then by hour),
// and returns the number of distinct loads. The hours of large loads, which
// take the longest to solve, come first, so that the time left shown while
// solving load by load is rather too long than too short.
int orderByLoad(Workspace& work) {
    std::iota(work.byLoad.begin(), work.byLoad.end(), 0);
    const auto& load = work.supplyingLoad;
    std::sort(work.byLoad.begin(), work.byLoad.end(), [&load](int a, int b) {
        const bool nanA = std::isnan(load[static_cast<std::size_t>(a)]);
        const bool nanB = std::isnan(load[static_cast<std::size_t>(b)]);
        if (nanA != nanB) return nanB;
        if (!nanA && load[static_cast<std::size_t>(a)] != load[static_cast<std::size_t>(b)])
            return load[static_cast<std::size_t>(a)] > load[static_cast<std::size_t>(b)];
        return a < b;
    });
    int distinct = 0;
    for (std::size_t i = 0; i < work.byLoad.size(); ++i)
        if (i == 0 || !sameLoad(load[static_cast<std::size_t>(work.byLoad[i])],
                                load[static_cast<std::size_t>(work.byLoad[i - 1])]))
            ++distinct;
    return distinct;
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

// What one solution reads, the receiving area's side and the supplying one's.
struct TwoAreaPass {
    ReceivingArea area;
    const CapacityTables& tables;
    const HourlyLoads& loads;
    const OutageTable& receiving;
    const TableSummary& r;
    AssistanceSource source;
    // An area's LOLE and ALLR take each day's peak hour of the area's own
    // load (for the model's loads, the shape's peak hour, as for the system).
    const DailyPeakHours& peakHours;
};

TwoAreaPass passFor(ReceivingArea area, const CapacityTables& tables, const HourlyLoads& loads,
                    const AtcTable& atc) {
    const bool area1 = area == ReceivingArea::area1;
    return {area,
            tables,
            loads,
            area1 ? tables.area1OutageTable : tables.area0OutageTable,
            area1 ? tables.area1 : tables.area0,
            {atc, area1, area1 ? tables.area0OutageTable : tables.area1OutageTable,
             area1 ? tables.area0.capacity : tables.area1.capacity,
             area1 ? loads.area1Peak : loads.area0Peak},
            area1 ? loads.area1PeakHour : loads.area0PeakHour};
}

float hourLoad(const TwoAreaPass& pass, std::size_t index) {
    return receivingLoad(pass.area, pass.loads.total[index], pass.loads.area1[index]);
}

// The hour's LOLP; its unserved MW go to `mwhEue`.
float hourFigures(const TwoAreaPass& pass, const AssistedTable& assisted, float load,
                  double& mwhEue) {
    addUnservedMw(assisted, pass.r.lossThreshold, load, mwhEue);
    addPartialMw(assisted, load, mwhEue);
    return assisted.table.at(IX(load, assisted.capacity, pass.tables.top));
}

void solveHourByHour(const TwoAreaPass& pass, DayFilter days, Workspace& work,
                     ProgressLine& progress, IndexSums& sums) {
    for (int day = 1; day <= daysPerYear; ++day) {
        if (!days.takes(day)) continue;
        for (int hour = 1; hour <= hoursPerDay; ++hour) {
            const auto index = static_cast<std::size_t>(hourIndex(day, hour));
            const AssistedTable& assisted = assistedTableFor(pass.source, work.supplyingLoad[index],
                                                             pass.receiving, pass.r, work);
            const float load = hourLoad(pass, index);
            const float lolp = hourFigures(pass, assisted, load, sums.indices.mwhEue);
            record(sums, isPeakHour(pass.peakHours, day, hour), lolp, load);
            advance(progress, static_cast<long long>(index) + 1);
        }
    }
}

// Each distinct load's table built once in the one table there is, and its
// hours' figures kept; the year is then summed in its order, the unserved
// MW of each hour summed on their own first (so that the sum may differ in
// its last bits from the hour-by-hour one's).
void solveLoadByLoad(const TwoAreaPass& pass, DayFilter days, Workspace& work,
                     ProgressLine& progress, IndexSums& sums) {
    CachedHour& entry = work.entries.back();
    bool built = false;
    for (std::size_t i = 0; i < work.byLoad.size(); ++i) {
        const auto index = static_cast<std::size_t>(work.byLoad[i]);
        if (!days.takes(static_cast<int>(index) / hoursPerDay + 1)) continue;
        const double supplying = work.supplyingLoad[index];
        if (!built || !sameLoad(supplying, entry.supplyingLoad)) {
            built = true;
            entry.supplyingLoad = supplying;
            computeAssistance(pass.source, supplying, work.sums, entry.assistance);
            buildAssistedTable(pass.receiving, pass.r.capacity, pass.r.topIndex, entry.assistance,
                               entry.assisted);
        }
        work.unservedMw[index] = 0.0;
        work.lolp[index] =
            hourFigures(pass, entry.assisted, hourLoad(pass, index), work.unservedMw[index]);
        advance(progress, static_cast<long long>(i) + 1);
    }
    for (int day = 1; day <= daysPerYear; ++day) {
        if (!days.takes(day)) continue;
        for (int hour = 1; hour <= hoursPerDay; ++hour) {
            const auto index = static_cast<std::size_t>(hourIndex(day, hour));
            record(sums, isPeakHour(pass.peakHours, day, hour), work.lolp[index],
                   hourLoad(pass, index));
            sums.indices.mwhEue += work.unservedMw[index];
        }
    }
}

}  // namespace

void addTwoArea(ReceivingArea area, const CapacityTables& tables, const HourlyLoads& loads,
                const AtcTable& atc, DayFilter days, IndexSums& sums, std::size_t keptTableBytes) {
    const TwoAreaPass pass = passFor(area, tables, loads, atc);
    auto work = std::make_unique<Workspace>();
    for (std::size_t index = 0; index < work->supplyingLoad.size(); ++index) {
        const float total = loads.total[index];
        const float a1 = loads.area1[index];
        work->supplyingLoad[index] = area == ReceivingArea::area1 ? static_cast<double>(total) - a1
                                                                  : static_cast<double>(a1);
    }
    // The hours are taken in their order while a table for each distinct load
    // fits the memory allowed; a system with larger tables is solved load by
    // load with one table, each distinct load's built once all the same.
    const int kept = std::min(orderByLoad(*work), cachedLoads) + 1;
    const std::size_t tableBytes = (static_cast<std::size_t>(tables.top) + 2) * sizeof(float);
    const bool hourByHour = static_cast<std::size_t>(kept) * tableBytes <= keptTableBytes;
    work->keep(hourByHour ? kept : 1, tables.top);
    ProgressLine progress = startPhaseProgress(
        area == ReceivingArea::area1 ? "area 1 solution: " : "area 0 solution: ", "hours",
        hoursPerYear);
    if (hourByHour) {
        solveHourByHour(pass, days, *work, progress, sums);
    } else {
        solveLoadByLoad(pass, days, *work, progress, sums);
    }
    erase(progress);
}

AnnualIndices computeTwoArea(ReceivingArea area, const CapacityTables& tables,
                             const HourlyLoads& loads, const AtcTable& atc, float mttrFactor,
                             std::size_t keptTableBytes) {
    IndexSums sums;
    addTwoArea(area, tables, loads, atc, DayFilter{}, sums, keptTableBytes);
    return finish(sums, mttrFactor);
}

float solveTwoAreas(const CapacityTables& tables, const HourlyLoads& loads, const AtcTable& atc,
                    float mttrFactor, float& cpuMark, report::Channel& console,
                    report::Channel& reportFile, TwoAreaIndices* solved, const AreaSolver& solver) {
    const auto solve = [&](ReceivingArea area) {
        return solver ? solver(area) : computeTwoArea(area, tables, loads, atc, mttrFactor);
    };
    AnnualIndices area1 = solve(ReceivingArea::area1);
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

    AnnualIndices area0 = solve(ReceivingArea::area0);
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
