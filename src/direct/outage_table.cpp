#include "direct/outage_table.hpp"

#include <algorithm>

#include "model/numeric.hpp"
#include "report/free_format.hpp"
#include "report/layout.hpp"

namespace adequacy {
namespace {

// 1 - 2^-24, the single-precision number just below 1.
constexpr float significanceLimit = 0.99999994f;

bool isSignificant(float entry) {
    return 1.0 - static_cast<double>(entry) < static_cast<double>(significanceLimit);
}

void resetTable(OutageTable& table) {
    table.entries.fill(0.0f);
    table.at(-1) = 1.0f;
}

struct UnitOutage {
    int pmax;
    int deratedMw;
    double forcedOutageRate;
    double deratedProbability;
};

// Folds one unit into the table, levels top..0 downwards so that every entry
// read on the right still holds its value from before this unit.
void addUnit(OutageTable& table, int top, const UnitOutage& unit, OutageTable* copyA,
             OutageTable* copyB) {
    double available = 1.0 - unit.forcedOutageRate - unit.deratedProbability;
    for (int x = top; x >= 0; --x) {
        double updated =
            available * table.at(x) + unit.forcedOutageRate * table.at(std::max(x - unit.pmax, -1));
        updated = updated + unit.deratedProbability * table.at(std::max(x - unit.deratedMw, -1));
        float stored = static_cast<float>(updated);
        table.at(x) = stored;
        if (copyA != nullptr) copyA->at(x) = stored;
        if (copyB != nullptr) copyB->at(x) = stored;
    }
}

// Cuts the table after its last significant level and returns that level.
int cutTable(OutageTable& table, int builtTop) {
    int top = builtTop;
    int x = 0;
    while (x <= tableTop && isSignificant(table.at(x))) top = x++;
    for (; x <= tableTop; ++x) table.at(x) = 0.0f;
    return top;
}

void finishTable(OutageTable& table, TableSummary& summary, report::Channel& console) {
    summary.topIndex = cutTable(table, std::min(summary.capacity, tableTop));
    summary.lossThreshold = summary.capacity - summary.topIndex;
    if (summary.topIndex == tableTop)
        report::write(console, "('warning: 1-F(',I5,') =',F12.8)", {tableTop, table.at(tableTop)});
}

float meanRepairDays(float weightedSum, int totalCapacity) {
    double hours = static_cast<double>(weightedSum) * 24.0 / totalCapacity + 0.5;
    return static_cast<float>(truncateToInt(hours) / 24.0);
}

}  // namespace

int IX(float load, int capacity, int top) {
    int index = truncateToInt(static_cast<double>(capacity) - static_cast<double>(load));
    return std::clamp(index, -1, top);
}

BuildOutcome buildCapacityTables(const UnitTypes& units, CapacityTables& tables,
                                 report::Channel& console) {
    resetTable(tables.totalOutageTable);
    resetTable(tables.area1OutageTable);
    resetTable(tables.area0OutageTable);
    tables.total = tables.area1 = tables.area0 = TableSummary{};
    float weightedSum = 0.0f;
    for (int block = 1; block <= blockCount; ++block) {
        for (int type = 1; type <= unitTypeCount; ++type) {
            auto t = static_cast<std::size_t>(type - 1);
            // A negative derated MW would read levels above x, which this pass
            // has already updated (or which lie beyond the table): it counts as 0.
            UnitOutage unit{units.pmax[t], std::max(units.deratedMw[t], 0),
                            units.forcedOutageRate[t], units.deratedProbability[t]};
            tables.total.capacity += unit.pmax;
            weightedSum = static_cast<float>(static_cast<double>(weightedSum) +
                                             static_cast<double>(unit.pmax) * units.mttrDays[t]);
            int top = std::min(tables.total.capacity, tableTop);
            if (block == 1) {
                tables.area1.capacity += unit.pmax;
                if (unit.pmax < 1 || unit.pmax < unit.deratedMw) {
                    report::writeFree(console, {"gen", type, "  PMAX is too small"});
                    return BuildOutcome::invalidUnit;
                }
            }
            if (block <= 10) tables.area0.capacity += unit.pmax;
            addUnit(tables.totalOutageTable, top, unit,
                    block == 1 ? &tables.area1OutageTable : nullptr,
                    block == 10 ? &tables.area0OutageTable : nullptr);
        }
    }
    tables.generationMttr = meanRepairDays(weightedSum, tables.total.capacity);
    finishTable(tables.totalOutageTable, tables.total, console);
    finishTable(tables.area1OutageTable, tables.area1, console);
    finishTable(tables.area0OutageTable, tables.area0, console);
    return BuildOutcome::built;
}

}  // namespace adequacy
