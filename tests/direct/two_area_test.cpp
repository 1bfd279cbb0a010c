// The two-area direct solution: the hour's assistance, the assisted table
// and the annual figures.

#include "direct/two_area.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "direct/assistance.hpp"
#include "direct/assisted_table.hpp"
#include "direct/atc_check.hpp"
#include "direct/built_in_system.hpp"

namespace adequacy {
namespace {

using testing::builtInLoads;
using testing::builtInMttrFactor;
using testing::builtInTables;
using testing::printed;

AtcTable tableFromAnswer(const char* typed) {
    AtcTable table = builtInAtcTable();
    std::string line(typed);
    line.resize(60, ' ');
    EXPECT_EQ(readAtcAnswer(line + ",0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0", table),
              report::ListOutcome::complete);
    return table;
}

std::string solve(ReceivingArea area, const AtcTable& atc) {
    return printed(computeTwoArea(area, builtInTables(), builtInLoads(), atc, builtInMttrFactor()));
}

TEST(TwoArea, FiguresForSeveralTables) {
    const auto area1 = ReceivingArea::area1;
    const auto area0 = ReceivingArea::area0;
    EXPECT_EQ(solve(area1, builtInAtcTable()),
              "   0.462914   0.120807   0.114066   0.031690   26.02042    2267660.  11.47457");
    EXPECT_EQ(solve(area0, builtInAtcTable()),
              "   0.255615   0.112015   0.106533   0.029383   37.97683   26305780.   1.44367");
    // No export row: area 0 on its own.
    EXPECT_EQ(solve(area1, tableFromAnswer("300 1")),
              "   0.455915   0.119910   0.113267   0.031454   25.38295    2267660.  11.19346");
    EXPECT_EQ(solve(area0, tableFromAnswer("300 1")),
              "   0.792825   0.335028   0.288775   0.087883  124.34526   26305780.   4.72692");
    // No import row: area 1 on its own. The order of the rows does not matter.
    for (const char* answer : {"-100 .5 -500 .5", "-500 .5 -100 .5"}) {
        EXPECT_EQ(solve(area1, tableFromAnswer(answer)),
                  "  17.342876   2.192743   0.901190   0.575193 1465.18213    2267660. 646.12073");
        EXPECT_EQ(solve(area0, tableFromAnswer(answer)),
                  "   0.361305   0.156444   0.145877   0.041038   53.93320   26305780.   2.05024");
    }
}

TEST(TwoArea, SolvedLoadByLoadWithOneTableAsHourByHour) {
    // No memory for kept tables: the solution that larger systems take.
    for (const AtcTable& atc :
         {builtInAtcTable(), tableFromAnswer("300 1"), tableFromAnswer("-100 .5 -500 .5 250 .7")}) {
        for (const ReceivingArea area : {ReceivingArea::area1, ReceivingArea::area0}) {
            const AnnualIndices kept =
                computeTwoArea(area, builtInTables(), builtInLoads(), atc, builtInMttrFactor());
            const AnnualIndices one =
                computeTwoArea(area, builtInTables(), builtInLoads(), atc, builtInMttrFactor(), 0);
            EXPECT_EQ(printed(one), printed(kept));
            EXPECT_EQ(one.lolh, kept.lolh);
            EXPECT_EQ(one.allr, kept.allr);
            // The unserved energy summed hour by hour before it joins the
            // year's sum: its last digits differ.
            EXPECT_NEAR(one.mwhEue, kept.mwhEue, 1e-10 * kept.mwhEue);
        }
    }
}

TEST(TwoArea, LoadAboveTheAssistedCapacity) {
    // Area 1, without import rows, carries 1100 MW at day 1 hour 12: 127 MW
    // above its 973 MW. Every other hour is empty.
    auto loads = std::make_unique<HourlyLoads>();
    loads->total.fill(0.0f);
    loads->area1.fill(0.0f);
    loads->total[hourIndex(1, 12)] = loads->area1[hourIndex(1, 12)] = 1100.0f;
    loads->totalPeak = loads->area1Peak = 1100.0f;
    loads->area0Peak = 0.0f;
    double tail = 0.0;  // the MW not served within the table's range
    for (int x = 0; x <= 884; ++x) tail += builtInTables().area1OutageTable.at(x);
    AnnualIndices r =
        computeTwoArea(ReceivingArea::area1, builtInTables(), *loads, AtcTable{}, 1.0f);
    EXPECT_EQ(r.lole, 1.0);
    EXPECT_EQ(r.lolh, 1.0);
    EXPECT_NEAR(r.mwhEue, tail + 127.0, 1e-9);
    EXPECT_EQ(r.mwhTotal, 1100.0);
}

// The assistance of one hour and the assisted table built from it.
struct Hour {
    HourAssistance assistance;
    std::unique_ptr<AssistedTable> assisted = std::make_unique<AssistedTable>();
};

Hour assistanceAt(ReceivingArea area, const AtcTable& atc, int day, int hour) {
    const CapacityTables& t = builtInTables();
    const HourlyLoads& loads = builtInLoads();
    const auto i = static_cast<std::size_t>(hourIndex(day, hour));
    const bool toArea1 = area == ReceivingArea::area1;
    AssistanceSource source{atc, toArea1, toArea1 ? t.area0OutageTable : t.area1OutageTable,
                            toArea1 ? t.area0.capacity : t.area1.capacity,
                            toArea1 ? loads.area1Peak : loads.area0Peak};
    const double supplying =
        toArea1 ? static_cast<double>(loads.total[i]) - loads.area1[i] : loads.area1[i];
    auto sums = std::make_unique<LevelSums>();
    Hour h;
    computeAssistance(source, supplying, *sums, h.assistance);
    const TableSummary& r = toArea1 ? t.area1 : t.area0;
    buildAssistedTable(toArea1 ? t.area1OutageTable : t.area0OutageTable, r.capacity, r.topIndex,
                       h.assistance, *h.assisted);
    return h;
}

TEST(Assistance, WinterPeakHour) {
    // Area 1 receives: all 300 and 200 levels of rows 1 and 2 qualify.
    Hour h = assistanceAt(ReceivingArea::area1, builtInAtcTable(), 1, 12);
    EXPECT_EQ(h.assistance.shift, 300);
    EXPECT_EQ(h.assistance.level, (std::array<float, 10>{300, 200}));
    EXPECT_NEAR(h.assistance.probability[0], 0.88875, 5e-6);
    EXPECT_NEAR(h.assistance.probability[1], 0.00928, 5e-6);
    EXPECT_EQ(h.assistance.probability[2], 0.0f);
    EXPECT_NEAR(h.assistance.noAssistProbability, 0.10196, 5e-6);
    EXPECT_EQ(h.assisted->capacity, 1273);
    EXPECT_EQ(h.assisted->topIndex, 1184);

    // Area 0 receives: area 1 has 273 MW above its load, levels 1..251 qualify.
    h = assistanceAt(ReceivingArea::area0, builtInAtcTable(), 1, 12);
    EXPECT_EQ(h.assistance.shift, 251);
    EXPECT_EQ(h.assistance.level, (std::array<float, 10>{0, 0, 251}));
    EXPECT_NEAR(h.assistance.probability[2], 0.84369, 5e-6);
    EXPECT_NEAR(h.assistance.noAssistProbability, 0.15631, 5e-6);
    EXPECT_EQ(h.assisted->capacity, 9981);
    EXPECT_EQ(h.assisted->topIndex, 2869);
}

TEST(Assistance, OffPeakHour) {
    // The import rows carry their whole probability; the single-precision
    // residue stays in the no-assistance state, it is not rounded to 0.
    Hour h = assistanceAt(ReceivingArea::area1, builtInAtcTable(), 11, 12);
    EXPECT_EQ(h.assistance.probability[0], 0.99f);
    EXPECT_EQ(h.assistance.probability[1], 0.01f);
    EXPECT_NEAR(h.assistance.noAssistProbability, -9.3e-9, 0.1e-9);

    AtcTable atc{};  // levels stop at the receiving area's peak of 846 MW
    atc.mw[0] = 1000.0f;
    atc.probability[0] = 1.0f;
    EXPECT_EQ(assistanceAt(ReceivingArea::area1, atc, 11, 12).assistance.shift, 846);

    atc.mw[0] = 0.5f;  // no whole MW: the row brings nothing
    atc.probability[0] = 0.7f;
    h = assistanceAt(ReceivingArea::area1, atc, 11, 12);
    EXPECT_EQ(h.assistance.shift, 0);
    EXPECT_EQ(h.assistance.probability[0], 0.0f);
    EXPECT_EQ(h.assistance.noAssistProbability, 1.0f);
    EXPECT_EQ(h.assisted->table.entries, builtInTables().area1OutageTable.entries);
}

TEST(AssistedTable, ShiftedLevelsReadTheReceivingTable) {
    const OutageTable& p = builtInTables().area1OutageTable;
    HourAssistance a;
    a.level = {2, 1};
    a.probability = {0.5f, 0.25f};
    a.noAssistProbability = 0.25f;
    a.shift = 2;
    auto q = std::make_unique<AssistedTable>();
    q->table.entries.assign(3002, 0.5f);  // what an earlier hour may have left
    buildAssistedTable(p, 973, 884, a, *q);
    EXPECT_EQ(q->capacity, 975);
    EXPECT_EQ(q->topIndex, 886);
    EXPECT_EQ(q->table.at(-1), 1.0f);
    // Level 0 shifted by -2 reads P(-1); row 2's sum of exactly -1 is cut
    // toward zero and reads P(0), not P(-1).
    EXPECT_NEAR(q->table.at(0), 0.25 + 0.75 * p.at(0), 1e-6);
    EXPECT_NEAR(q->table.at(10), 0.25 * p.at(8) + 0.5 * p.at(10) + 0.25 * p.at(9), 1e-6);
    EXPECT_GT(q->table.at(886), 0.0f);
    EXPECT_EQ(q->table.at(887), 0.0f);
    EXPECT_EQ(q->table.at(3000), 0.0f);
}

}  // namespace
}  // namespace adequacy
