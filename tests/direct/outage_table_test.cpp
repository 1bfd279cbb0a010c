// Capacity outage probability tables built from the unit data.

#include "direct/outage_table.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "direct/single_area.hpp"
#include "report/fields.hpp"

namespace adequacy {
namespace {

struct Built {
    std::unique_ptr<CapacityTables> tables = std::make_unique<CapacityTables>();
    report::Channel console = report::captureChannel("console");
    BuildOutcome outcome;
};

Built build(const UnitTypes& units) {
    Built b;
    b.outcome = buildCapacityTables(units, *b.tables, b.console);
    return b;
}

TEST(OutageTables, CapacitiesLevelsAndThresholdsOfTheBuiltInSystem) {
    Built b = build(builtInUnitTypes());
    ASSERT_EQ(b.outcome, BuildOutcome::built);
    const CapacityTables& t = *b.tables;
    EXPECT_EQ(t.total.capacity, 10703);
    EXPECT_EQ(t.area1.capacity, 973);
    EXPECT_EQ(t.area0.capacity, 9730);
    EXPECT_EQ(t.total.topIndex, 2738);
    EXPECT_EQ(t.area1.topIndex, 884);
    EXPECT_EQ(t.area0.topIndex, 2618);
    EXPECT_EQ(t.total.lossThreshold, 7965);
    EXPECT_EQ(t.area1.lossThreshold, 89);
    EXPECT_EQ(t.area0.lossThreshold, 7112);
    EXPECT_EQ(t.generationMttr, 28.375f);
    EXPECT_FLOAT_EQ(computeMttrFactor(t.generationMttr), 3.8121884f);
    EXPECT_EQ(b.console.captured, "");  // no table reaches its last level
}

TEST(OutageTables, EntriesAfterTheCut) {
    struct Row {
        int level;
        float total, area1, area0;
    };
    const Row rows[] = {
        {-1, 1.0f, 1.0f, 1.0f},
        {0, 0.9995997f, 0.50895405f, 0.99918485f},
        {4, 0.9995997f, 0.50895405f, 0.99918485f},
        {5, 0.99882275f, 0.42229882f, 0.99774647f},
        {9, 0.99882275f, 0.42229882f, 0.99774647f},
        {10, 0.997648f, 0.36773819f, 0.99569845f},
        {100, 0.91833925f, 0.15157697f, 0.89056808f},
        {500, 0.41352683f, 0.0019981314f, 0.35649246f},
        {884, 0.089207619f, 6.1538223e-8f, 0.065105408f},
        {885, 0.088742875f, 0, 0.064728953f},
        {1000, 0.049621914f, 0, 0.034591954f},
        {2000, 5.1422103e-5f, 0, 2.2008842e-5f},
        {2618, 1.9629735e-7f, 0, 5.9606052e-8f},
        {2619, 1.9441943e-7f, 0, 0},
        {2738, 5.9994676e-8f, 0, 0},
        {2739, 0, 0, 0},
        {3000, 0, 0, 0},
    };
    Built b = build(builtInUnitTypes());
    const CapacityTables& t = *b.tables;
    for (const Row& r : rows) {
        EXPECT_FLOAT_EQ(t.totalOutageTable.at(r.level), r.total) << r.level;
        EXPECT_FLOAT_EQ(t.area1OutageTable.at(r.level), r.area1) << r.level;
        EXPECT_FLOAT_EQ(t.area0OutageTable.at(r.level), r.area0) << r.level;
    }
}

TEST(OutageTables, IndexOfALoad) {
    EXPECT_EQ(IX(7965.0f, 10703, 3000), 2738);
    EXPECT_EQ(IX(100.0f, 10703, 3000), 3000);
    EXPECT_EQ(IX(10703.5f, 10703, 3000), 0);  // cut toward zero, not down
    EXPECT_EQ(IX(10704.0f, 10703, 3000), -1);
    EXPECT_EQ(IX(10705.0f, 10703, 3000), -1);
    EXPECT_EQ(IX(972.9f, 973, 3000), 0);
    EXPECT_EQ(IX(9424.5f, 10703, 3000), 1278);
    EXPECT_EQ(IX(1e30f, 10703, 3000), -1);
    EXPECT_EQ(IX(-1e30f, 10703, 3000), 3000);
}

TEST(OutageTables, InvalidUnitTypeStopsWithOneConsoleLine) {
    UnitTypes zeroPmax = builtInUnitTypes();
    zeroPmax.pmax[0] = 0;
    Built b = build(zeroPmax);
    EXPECT_EQ(b.outcome, BuildOutcome::invalidUnit);
    EXPECT_EQ(b.console.captured, " gen           1   PMAX is too small\r\n");

    UnitTypes deratedAbovePmax = builtInUnitTypes();
    deratedAbovePmax.deratedMw[3] = 23;
    b = build(deratedAbovePmax);
    EXPECT_EQ(b.outcome, BuildOutcome::invalidUnit);
    EXPECT_EQ(b.console.captured, " gen           4   PMAX is too small\r\n");
}

TEST(OutageTables, TheDeratedMwIsWhatTheUnitStillHasAvailable) {
    // One 100 MW unit in each area: area 1's keeps 70 MW when derated (30 MW
    // on outage), area 0's keeps 100 MW (its derated state loses nothing).
    UnitTypes units;
    units.pmax = {100, 100};
    units.deratedMw = {70, 100};
    units.forcedOutageRate = {0.1f, 0.25f};
    units.deratedProbability = {0.2f, 0.5f};
    units.mttrDays = {1.0f, 1.0f};
    units.unitType = {0, 1};
    units.area1UnitCount = 1;
    Built b = build(units);
    ASSERT_EQ(b.outcome, BuildOutcome::built);
    const CapacityTables& t = *b.tables;
    EXPECT_FLOAT_EQ(t.area1OutageTable.at(0), 0.3f);
    EXPECT_FLOAT_EQ(t.area1OutageTable.at(29), 0.3f);
    EXPECT_FLOAT_EQ(t.area1OutageTable.at(30), 0.1f);
    EXPECT_FLOAT_EQ(t.area1OutageTable.at(99), 0.1f);
    EXPECT_EQ(t.area1OutageTable.at(100), 0.0f);
    EXPECT_FLOAT_EQ(t.area0OutageTable.at(0), 0.25f);
    EXPECT_FLOAT_EQ(t.area0OutageTable.at(99), 0.25f);
    // Both units: 200 MW out with 0.1 x 0.25, 130 with 0.2 x 0.25, 100 with
    // 0.1 x 0.75 + 0.7 x 0.25, 30 with 0.2 x 0.75, none with 0.7 x 0.75.
    EXPECT_FLOAT_EQ(t.totalOutageTable.at(130), 0.025f);
    EXPECT_FLOAT_EQ(t.totalOutageTable.at(129), 0.075f);
    EXPECT_FLOAT_EQ(t.totalOutageTable.at(99), 0.325f);
    EXPECT_FLOAT_EQ(t.totalOutageTable.at(29), 1.0f - 0.7f * 0.75f);
}

TEST(OutageTables, ANegativeDeratedMwCountsAsNothingLeft) {
    UnitTypes negative = builtInUnitTypes();
    UnitTypes zero = builtInUnitTypes();
    negative.deratedProbability[9] = zero.deratedProbability[9] = 0.02f;
    negative.deratedMw[9] = -5000;  // outside the data: read as 0 MW left
    zero.deratedMw[9] = 0;
    Built a = build(negative);
    Built b = build(zero);
    ASSERT_EQ(a.outcome, BuildOutcome::built);
    EXPECT_EQ(a.tables->totalOutageTable.entries, b.tables->totalOutageTable.entries);
    EXPECT_EQ(a.tables->area1OutageTable.entries, b.tables->area1OutageTable.entries);
}

TEST(OutageTables, ATableSignificantAt3000RaisesTheTopOfEveryTable) {
    // Units on outage half of the time leave the total and area-0 tables
    // significant far beyond 3000 MW: the top rises to the first level at
    // which every table is insignificant, the same for the three tables, and
    // nothing is cut short, so no warning is written.
    UnitTypes unreliable = builtInUnitTypes();
    unreliable.forcedOutageRate.assign(unreliable.forcedOutageRate.size(), 0.5f);
    Built b = build(unreliable);
    ASSERT_EQ(b.outcome, BuildOutcome::built);
    const CapacityTables& t = *b.tables;
    EXPECT_EQ(b.console.captured, "");
    EXPECT_GT(t.top, 3000);
    EXPECT_EQ(t.top, t.total.topIndex + 1);  // the total table reaches furthest
    EXPECT_LT(t.area0.topIndex, t.top);
    EXPECT_LT(t.area1.topIndex, 973);
    for (const OutageTable* table :
         {&t.totalOutageTable, &t.area1OutageTable, &t.area0OutageTable}) {
        EXPECT_EQ(table->top(), t.top);
        EXPECT_EQ(table->at(t.top), 0.0f);
    }
    EXPECT_GT(t.totalOutageTable.at(t.total.topIndex), 0x1p-24f);
    EXPECT_LE(t.totalOutageTable.at(t.total.topIndex + 1), 0.0f);
    // Half the system on outage is the median: P(outage > 5351) is about 1/2.
    EXPECT_NEAR(t.totalOutageTable.at(10703 / 2), 0.5, 0.05);
    EXPECT_EQ(IX(0.0f, t.total.capacity, t.top), t.top);
}

TEST(OutageTables, EntriesBelow3000DoNotDependOnTheTop) {
    // Four times the built-in system (44 blocks, area 1 = blocks 1..4) needs
    // a top above 3000; its area-1 table, built to that top, agrees entry for
    // entry with the table of the four blocks alone, built to 3000.
    UnitTypes large = builtInUnitTypes();
    large.unitType.clear();
    for (int u = 0; u < 440; ++u) large.unitType.push_back(u % 10);
    large.area1UnitCount = 40;
    Built small = build(builtInUnitTypes());
    Built b = build(large);
    ASSERT_EQ(b.outcome, BuildOutcome::built);
    const CapacityTables& t = *b.tables;
    EXPECT_EQ(small.tables->top, 3000);
    EXPECT_GT(t.top, 3000);
    EXPECT_EQ(t.total.capacity, 4 * 10703);
    EXPECT_EQ(t.area1.capacity, 4 * 973);
    EXPECT_EQ(t.area0.capacity, 40 * 973);
    EXPECT_EQ(b.console.captured, "");
    UnitTypes four = builtInUnitTypes();
    four.unitType.resize(40);
    four.area1UnitCount = 40;
    Built f = build(four);
    EXPECT_EQ(f.tables->top, 3000);
    for (int x = -1; x <= 3000; ++x)
        ASSERT_EQ(t.area1OutageTable.at(x), f.tables->area1OutageTable.at(x)) << x;
}

}  // namespace
}  // namespace adequacy
