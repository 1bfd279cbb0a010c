// The two-unit system of direct/two_unit_system.hpp, worked out by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "direct/outage_table.hpp"
#include "direct/single_area.hpp"
#include "direct/two_area.hpp"
#include "direct/two_unit_system.hpp"
#include "model/study_system.hpp"
#include "report/channel.hpp"

namespace adequacy {
namespace {

using testing::twoUnitSystem;

struct Solved {
    std::unique_ptr<CapacityTables> tables = std::make_unique<CapacityTables>();
    std::unique_ptr<HourlyLoads> loads = std::make_unique<HourlyLoads>();
    float mttrFactor = 0.0f;
};

Solved prepare(const StudySystem& system) {
    Solved s;
    report::Channel console = report::captureChannel("console");
    EXPECT_EQ(buildCapacityTables(unitTypesOf(system), *s.tables, console), BuildOutcome::built);
    setHourlyLoads(system.hourlyLoads->total, system.hourlyLoads->area1, *s.loads);
    s.mttrFactor = computeMttrFactor(s.tables->generationMttr);
    return s;
}

// Sums of single-precision table entries, compared with the exact figures:
// relative differences of a few 1e-8 come from storing 0.28, 0.1, ... as
// floats.
void expectClose(double actual, double expected) {
    EXPECT_NEAR(actual, expected, 1e-6 * std::fmax(1.0, std::fabs(expected)));
}

TEST(SmallSystem, TablesByHand) {
    // P(outage > x): both units up 0.72, one out 0.08 + 0.18, both out 0.02.
    // Whole system: 0.28 below 100 MW, 0.02 up to 199, 0 from 200 on; area 1:
    // 0.1 up to 99; area 0: 0.2 up to 99.
    Solved s = prepare(twoUnitSystem());
    const CapacityTables& t = *s.tables;
    EXPECT_EQ(t.top, 3000);
    EXPECT_EQ(t.total.capacity, 200);
    EXPECT_FLOAT_EQ(t.totalOutageTable.at(0), 0.28f);
    EXPECT_FLOAT_EQ(t.totalOutageTable.at(99), 0.28f);
    EXPECT_FLOAT_EQ(t.totalOutageTable.at(100), 0.02f);
    EXPECT_EQ(t.totalOutageTable.at(200), 0.0f);
    EXPECT_EQ(t.total.topIndex, 199);
    EXPECT_FLOAT_EQ(t.area1OutageTable.at(50), 0.1f);
    EXPECT_FLOAT_EQ(t.area0OutageTable.at(50), 0.2f);
    EXPECT_EQ(t.area1.topIndex, 99);
    EXPECT_EQ(t.area0.topIndex, 99);
    EXPECT_EQ(t.area0.lossThreshold, 1);
    EXPECT_EQ(t.generationMttr, 5.0f);
}

TEST(SmallSystem, SingleAreaByHand) {
    // Every hour: LOLP = P(200 - 150 = 50) = 0.28. Unserved MW = the sum of
    // P(x) for x = 50..199 = 50 x 0.28 + 100 x 0.02 = 16 (one unit out: 50 MW
    // short, probability 0.26; both: 150 MW, 0.02; 0.26 x 50 + 0.02 x 150).
    Solved s = prepare(twoUnitSystem());
    const AnnualIndices r = computeSingleArea(*s.tables, *s.loads, s.mttrFactor);
    expectClose(r.lolh, 0.28 * 8760);  // 2452.8 h
    expectClose(r.lole, 0.28 * 365);   // 102.2 days
    expectClose(r.allr, 1.0 - std::pow(0.72, 365));
    expectClose(r.alolp, r.lole / std::pow(5.0, 0.4));
    expectClose(r.mwhEue, 16.0 * 8760);
    EXPECT_EQ(r.mwhTotal, 150.0 * 8760);
    expectClose(r.puEueppm, 16.0 / 150.0 * 1e6);
}

TEST(SmallSystem, TwoAreasByHand) {
    // Area 1 (load 50 MW) could import 50 MW, but area 0 carries 100 MW on its
    // 100 MW unit: any level l reads P0(IX(100 + l, 100)) = P0(-1) = 1 > 0.3,
    // so no level qualifies and area 1 stands alone: LOLP = P1(50) = 0.1,
    // unserved MW = the sum of P1(100 - v) for v = 1..50 = 50 x 0.1 = 5.
    //
    // Area 0 (load 100 MW) can receive 50 MW from area 1, whose
    // load is 50 MW: level l reads P1(50 - l) = 0.1 <= 0.3 for l = 1..50, all
    // qualify; the row brings 50 MW with probability 1 x 0.9 and none with
    // 0.1. Assisted table (capacity 150): Q(j) = 0.1 P0(j - 50) + 0.9 P0(j):
    // 0.28 for j < 50, 0.2 for 50..99, 0.02 for 100..149. LOLP = Q(150 - 100)
    // = 0.2 (area 0 is short exactly when its unit is out). Unserved MW = the
    // sum of Q(150 - v) for v = 1..100 = 50 x 0.02 + 50 x 0.2 = 11 (its unit
    // out: 100 MW short less 50 MW with probability 0.9: 0.2 x (0.9 x 50 +
    // 0.1 x 100) = 11).
    const StudySystem system = twoUnitSystem();
    Solved s = prepare(system);
    const AnnualIndices a1 =
        computeTwoArea(ReceivingArea::area1, *s.tables, *s.loads, system.atc, s.mttrFactor);
    expectClose(a1.lolh, 0.1 * 8760);  // 876 h
    expectClose(a1.lole, 0.1 * 365);   // 36.5 days
    expectClose(a1.allr, 1.0 - std::pow(0.9, 365));
    expectClose(a1.mwhEue, 5.0 * 8760);
    EXPECT_EQ(a1.mwhTotal, 50.0 * 8760);
    expectClose(a1.puEueppm, 5.0 / 50.0 * 1e6);

    const AnnualIndices a0 =
        computeTwoArea(ReceivingArea::area0, *s.tables, *s.loads, system.atc, s.mttrFactor);
    expectClose(a0.lolh, 0.2 * 8760);  // 1752 h
    expectClose(a0.lole, 0.2 * 365);   // 73 days
    expectClose(a0.alolp, a0.lole / std::pow(5.0, 0.4));
    expectClose(a0.mwhEue, 11.0 * 8760);
    EXPECT_EQ(a0.mwhTotal, 100.0 * 8760);
    expectClose(a0.puEueppm, 11.0 / 100.0 * 1e6);
}

TEST(SmallSystem, ReportNamesTheLoadFileAndOverflowsShowAsAsterisks) {
    Solved s = prepare(twoUnitSystem());
    const AnnualIndices r = computeSingleArea(*s.tables, *s.loads, s.mttrFactor);
    report::Channel console = report::captureChannel("console");
    report::Channel reportFile = report::captureChannel("report");
    float cpuMark = 0.0f;
    reportSingleArea(*s.tables, *s.loads, builtInLoadParameters(), r, cpuMark, console, reportFile,
                     "constant.csv");
    const std::string& out = reportFile.captured;
    EXPECT_NE(out.find("  1   150.  0.28000000   150.  0.28000000   150.  0.28000000\r\n"),
              std::string::npos);
    EXPECT_NE(out.find("\r\n\r\n LOADS FROM FILE constant.csv\r\n\r\n  AREA 1 HOURLY LOADS:"),
              std::string::npos);
    EXPECT_EQ(out.find("D1 MIN"), std::string::npos);
    EXPECT_EQ(out.find("D5 MIN"), std::string::npos);
    // MWHEUE 140160 overflows F11.5 and puEUEppm 106666.7 overflows F10.5.
    EXPECT_NE(out.find("***********    1314000.**********"), std::string::npos);
    EXPECT_NE(console.captured.find(" LOADS FROM FILE constant.csv\r\n"), std::string::npos);
    EXPECT_EQ(console.captured.find("D1 MIN"), std::string::npos);
}

}  // namespace
}  // namespace adequacy
