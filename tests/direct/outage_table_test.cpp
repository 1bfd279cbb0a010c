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

TEST(OutageTables, ANegativeDeratedMwCountsAsNoOutage) {
    UnitTypes negative = builtInUnitTypes();
    UnitTypes zero = builtInUnitTypes();
    negative.deratedProbability[9] = zero.deratedProbability[9] = 0.02f;
    negative.deratedMw[9] = -5000;  // would read far beyond the table
    zero.deratedMw[9] = 0;
    Built a = build(negative);
    Built b = build(zero);
    ASSERT_EQ(a.outcome, BuildOutcome::built);
    EXPECT_EQ(a.tables->totalOutageTable.entries, b.tables->totalOutageTable.entries);
    EXPECT_EQ(a.tables->area1OutageTable.entries, b.tables->area1OutageTable.entries);
}

TEST(OutageTables, WarnsWhenATableIsSignificantAtItsLastLevel) {
    UnitTypes unreliable = builtInUnitTypes();
    unreliable.forcedOutageRate.fill(0.5f);
    Built b = build(unreliable);
    ASSERT_EQ(b.outcome, BuildOutcome::built);
    const CapacityTables& t = *b.tables;
    EXPECT_EQ(t.total.topIndex, 3000);
    EXPECT_EQ(t.area0.topIndex, 3000);
    EXPECT_LT(t.area1.topIndex, 973);
    const std::string total = report::formatF(t.totalOutageTable.at(3000), 12, 8);
    const std::string area0 = report::formatF(t.area0OutageTable.at(3000), 12, 8);
    EXPECT_EQ(b.console.captured,
              "warning: 1-F( 3000) =" + total + "\r\nwarning: 1-F( 3000) =" + area0 + "\r\n");
}

}  // namespace
}  // namespace adequacy
