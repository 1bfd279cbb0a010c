#pragma once
// Capacity outage probability tables: entry x is the probability that more
// than x MW are on outage, for x = -1..top; entry -1 is 1. The top is the
// same for every table of a run: 3000, or higher for a system whose tables
// are still significant there, so that no table is cut short.

#include <vector>

#include "model/system_data.hpp"
#include "report/channel.hpp"

namespace adequacy {

struct OutageTable {
    std::vector<float> entries;  // entries[x + 1] holds level x

    float at(int level) const { return entries[static_cast<std::size_t>(level + 1)]; }
    float& at(int level) { return entries[static_cast<std::size_t>(level + 1)]; }
    int top() const { return static_cast<int>(entries.size()) - 2; }
};

// The table index of load R for installed capacity I: I - R cut toward zero,
// clamped to -1..top.
int IX(float load, int capacity, int top);

// What goes with each table: installed MW, last significant level and the
// load at or above which the table's significant part is reached.
struct TableSummary {
    int capacity = 0;
    int topIndex = 0;
    int lossThreshold = 0;
};

struct CapacityTables {
    OutageTable totalOutageTable;
    OutageTable area1OutageTable;
    OutageTable area0OutageTable;
    TableSummary total;
    TableSummary area1;
    TableSummary area0;
    float generationMttr = 0.0f;
    // The highest level of every table, which IX clamps to.
    int top = minimumTableTop;
};

enum class BuildOutcome { built, invalidUnit };

// Builds the three tables from the unit data (area 1's table from its units,
// area 0's from the others), chooses the top, cuts each table at its last
// significant level and warns on the console when a table is significant up
// to its last entry. An invalid unit type writes its message and stops.
BuildOutcome buildCapacityTables(const UnitTypes& units, CapacityTables& tables,
                                 report::Channel& console);

}  // namespace adequacy
