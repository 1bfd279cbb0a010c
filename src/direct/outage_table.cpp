#include "direct/outage_table.hpp"

#include <algorithm>

#include "model/numeric.hpp"
#include "montecarlo/reporting/progress.hpp"
#include "report/free_format.hpp"
#include "report/layout.hpp"

namespace adequacy {
namespace {

// 1 - 2^-24, the single-precision number just below 1.
constexpr float significanceLimit = 0.99999994f;

bool isSignificant(float entry) {
    return 1.0 - static_cast<double>(entry) < static_cast<double>(significanceLimit);
}

struct UnitOutage {
    int pmax;
    int deratedMw;  // the MW still available in the derated state
    double forcedOutageRate;
    double deratedProbability;
};

// The MW on outage while derated: the derated MW is what the unit still has
// available, as the simulation counts it.
int deratedOutageMw(const UnitOutage& unit) { return unit.pmax - unit.deratedMw; }

// Folds one unit into the table, levels top..0 downwards so that every entry
// read on the right still holds its value from before this unit.
void addUnit(OutageTable& table, int top, const UnitOutage& unit, OutageTable* copyA,
             OutageTable* copyB) {
    double available = 1.0 - unit.forcedOutageRate - unit.deratedProbability;
    for (int x = top; x >= 0; --x) {
        double updated =
            available * table.at(x) + unit.forcedOutageRate * table.at(std::max(x - unit.pmax, -1));
        updated =
            updated + unit.deratedProbability * table.at(std::max(x - deratedOutageMw(unit), -1));
        float stored = static_cast<float>(updated);
        table.at(x) = stored;
        if (copyA != nullptr) copyA->at(x) = stored;
        if (copyB != nullptr) copyB->at(x) = stored;
    }
}

// Cuts the table after its last significant level and returns that level.
int cutTable(OutageTable& table, int builtTop) {
    const int tableTop = table.top();
    int top = builtTop;
    int x = 0;
    while (x <= tableTop && isSignificant(table.at(x))) top = x++;
    for (; x <= tableTop; ++x) table.at(x) = 0.0f;
    return top;
}

// The first level from 0 up whose entry is insignificant, where the cut
// starts; one past the table if there is none.
int firstInsignificantLevel(const OutageTable& table) {
    int x = 0;
    while (x <= table.top() && isSignificant(table.at(x))) ++x;
    return x;
}

void finishTable(OutageTable& table, TableSummary& summary, report::Channel& console) {
    const int tableTop = table.top();
    summary.topIndex = cutTable(table, std::min(summary.capacity, tableTop));
    summary.lossThreshold = summary.capacity - summary.topIndex;
    if (summary.topIndex == tableTop)
        report::write(console, "('warning: 1-F(',I5,') =',F12.8)", {tableTop, table.at(tableTop)});
}

float meanRepairDays(float weightedSum, int totalCapacity) {
    double hours = static_cast<double>(weightedSum) * 24.0 / totalCapacity + 0.5;
    return static_cast<float>(truncateToInt(hours) / 24.0);
}

UnitOutage unitOutage(const UnitTypes& units, int type) {
    auto t = static_cast<std::size_t>(type);
    // A negative derated MW (outside the data, which the system file refuses)
    // counts as 0: nothing left while derated, as on forced outage.
    return UnitOutage{units.pmax[t], std::max(units.deratedMw[t], 0), units.forcedOutageRate[t],
                      units.deratedProbability[t]};
}

void resetTable(OutageTable& table, int top) {
    table.entries.assign(static_cast<std::size_t>(top) + 2, 0.0f);
    table.at(-1) = 1.0f;
}

// Folds the units [first, last) into `table`, each over the levels up to the
// smaller of the capacity so far and `top`. An entry at a level depends only
// on entries at that level and below, so the entries up to any level come
// out the same whatever the top above it. `area1Copy`, when given, receives
// the table as it stands after the area-1 units.
void foldUnits(const UnitTypes& units, int first, int last, int top, OutageTable& table,
               OutageTable* area1Copy, ProgressLine& progress, long long before) {
    resetTable(table, top);
    if (area1Copy != nullptr) resetTable(*area1Copy, top);
    int capacity = 0;
    for (int u = first; u < last; ++u) {
        const UnitOutage unit = unitOutage(units, units.typeOf(u));
        capacity += unit.pmax;
        const bool inArea1 = area1Copy != nullptr && u < units.area1UnitCount;
        addUnit(table, std::min(capacity, top), unit, inArea1 ? area1Copy : nullptr, nullptr);
        advance(progress, before + u - first + 1);
    }
}

// The type numbers are checked in order before any table is built.
bool validTypes(const UnitTypes& units, report::Channel& console) {
    for (int t = 0; t < units.typeCount(); ++t) {
        const UnitOutage unit = unitOutage(units, t);
        if (unit.pmax < 1 || unit.pmax < unit.deratedMw) {
            report::writeFree(console, {"gen", t + 1, "  PMAX is too small"});
            return false;
        }
    }
    return true;
}

// The capacities and the capacity-weighted repair time, in unit order.
void sumCapacities(const UnitTypes& units, CapacityTables& tables) {
    float weightedSum = 0.0f;
    for (int u = 0; u < units.unitCount(); ++u) {
        auto t = static_cast<std::size_t>(units.typeOf(u));
        const int pmax = units.pmax[t];
        tables.total.capacity += pmax;
        (u < units.area1UnitCount ? tables.area1 : tables.area0).capacity += pmax;
        weightedSum = static_cast<float>(static_cast<double>(weightedSum) +
                                         static_cast<double>(pmax) * units.mttrDays[t]);
    }
    tables.generationMttr = meanRepairDays(weightedSum, tables.total.capacity);
}

// Builds the three tables up to a top that doubles until every table's cut
// falls within it; the top is then the larger of 3000 and the highest level
// at which a cut starts, so that a table whose cut lies below 3000 is built,
// cut and read exactly as with a fixed top of 3000.
void buildTables(const UnitTypes& units, CapacityTables& tables) {
    const int n = units.unitCount();
    const int a1 = units.area1UnitCount;
    long long top = minimumTableTop;
    while (true) {
        const int builtTop = static_cast<int>(top);
        // Each try folds every unit into the system's table and area 0's.
        ProgressLine progress = startPhaseProgress("outage tables: ", "units", 2LL * n - a1);
        foldUnits(units, 0, n, builtTop, tables.totalOutageTable, &tables.area1OutageTable,
                  progress, 0);
        foldUnits(units, a1, n, builtTop, tables.area0OutageTable, nullptr, progress, n);
        erase(progress);
        const int cutStart = std::max({firstInsignificantLevel(tables.totalOutageTable),
                                       firstInsignificantLevel(tables.area1OutageTable),
                                       firstInsignificantLevel(tables.area0OutageTable)});
        if (cutStart <= builtTop || builtTop >= tables.total.capacity) {
            tables.top = std::max(minimumTableTop, std::min(cutStart, builtTop));
            break;
        }
        top = std::min(2 * top, static_cast<long long>(tables.total.capacity));
    }
    const auto size = static_cast<std::size_t>(tables.top) + 2;
    tables.totalOutageTable.entries.resize(size);
    tables.area1OutageTable.entries.resize(size);
    tables.area0OutageTable.entries.resize(size);
}

}  // namespace

int IX(float load, int capacity, int top) {
    int index = truncateToInt(static_cast<double>(capacity) - static_cast<double>(load));
    return std::clamp(index, -1, top);
}

BuildOutcome buildCapacityTables(const UnitTypes& units, CapacityTables& tables,
                                 report::Channel& console) {
    tables.total = tables.area1 = tables.area0 = TableSummary{};
    if (!validTypes(units, console)) return BuildOutcome::invalidUnit;
    sumCapacities(units, tables);
    buildTables(units, tables);
    finishTable(tables.totalOutageTable, tables.total, console);
    finishTable(tables.area1OutageTable, tables.area1, console);
    finishTable(tables.area0OutageTable, tables.area0, console);
    return BuildOutcome::built;
}

}  // namespace adequacy
