#pragma once
// The receiving area's outage table with the hour's assistance folded in.

#include "direct/assistance.hpp"
#include "direct/outage_table.hpp"

namespace adequacy {

struct AssistedTable {
    OutageTable table;  // Q
    int capacity = 0;   // assistedCapacity
    int topIndex = 0;   // assistedTopIndex
};

void buildAssistedTable(const OutageTable& receiving, int receivingCapacity, int receivingTop,
                        const HourAssistance& assistance, AssistedTable& assisted);

}  // namespace adequacy
