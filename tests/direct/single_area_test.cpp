// The single-area direct solution and the solution block.

#include "direct/single_area.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "direct/built_in_system.hpp"
#include "direct/solution_block.hpp"
#include "report/fields.hpp"

namespace adequacy {
namespace {

using testing::builtInLoads;
using testing::builtInMttrFactor;
using testing::builtInTables;
using testing::printed;

TEST(SingleArea, IndicesOfTheBuiltInSystem) {
    AnnualIndices r = computeSingleArea(builtInTables(), builtInLoads(), builtInMttrFactor());
    EXPECT_EQ(printed(r),
              "   0.225304   0.099956   0.095577   0.026220   33.39405   28573440.   1.16871");
}

TEST(SingleArea, SumsOfAHandBuiltYear) {
    // Zero load except: day 1 hour 12 at 10000 MW, day 2 hour 12 at the
    // threshold 7965 MW, day 3 hour 5 at 5 MW above the installed 10703 MW.
    auto loads = std::make_unique<HourlyLoads>();
    loads->total.fill(0.0f);
    loads->total[hourIndex(1, 12)] = 10000.0f;
    loads->total[hourIndex(2, 12)] = 7965.0f;
    loads->total[hourIndex(3, 5)] = 10708.0f;
    const OutageTable& p = builtInTables().totalOutageTable;
    auto tail = [&p](int from) {  // expected MW not served beyond an outage level
        double sum = 0.0;
        for (int x = from; x <= 3000; ++x) sum += p.at(x);
        return sum;
    };
    AnnualIndices r = computeSingleArea(builtInTables(), *loads, 2.0f);
    const double p703 = p.at(703), p2738 = p.at(2738);
    EXPECT_DOUBLE_EQ(r.lole, p703 + p2738);  // hour 12 only
    EXPECT_DOUBLE_EQ(r.allr, 1.0 - (1.0 - p703) * (1.0 - p2738));
    EXPECT_DOUBLE_EQ(r.alolp, r.lole / 2.0);
    EXPECT_DOUBLE_EQ(r.lolh, p703 + p2738 + 1.0);
    // Above the installed MW every outage falls short by the 5 MW excess too.
    EXPECT_NEAR(r.mwhEue, tail(703) + p2738 + 5.0 + tail(0), 1e-12);
    EXPECT_EQ(r.mwhTotal, 10000.0 + 7965.0 + 10708.0);
    EXPECT_DOUBLE_EQ(r.puEueppm, r.mwhEue / r.mwhTotal * 1e6);
}

TEST(SingleArea, ALoadThatIsNotANumberServesNoUnservedEnergy) {
    // NaN compares false with the threshold, as in the two-area sum.
    auto loads = std::make_unique<HourlyLoads>();
    loads->total.fill(0.0f);
    loads->total[hourIndex(1, 5)] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(computeSingleArea(builtInTables(), *loads, 2.0f).mwhEue, 0.0);
}

TEST(SingleArea, LossOfLoadProbabilityOfHourlyLoads) {
    const CapacityTables& t = builtInTables();
    auto total = [&t](float load) {
        return report::formatF(t.totalOutageTable.at(IX(load, t.total.capacity, 3000)), 12, 8);
    };
    auto area1 = [&t](float load) {
        return report::formatF(t.area1OutageTable.at(IX(load, t.area1.capacity, 3000)), 12, 8);
    };
    EXPECT_EQ(total(7964.0f), "  0.00000000");  // below the threshold 7965
    EXPECT_EQ(total(8144.0f), "  0.00000035");
    EXPECT_EQ(total(9104.0f), "  0.00116223");
    EXPECT_EQ(total(9424.0f), "  0.00998912");
    EXPECT_EQ(area1(700.0f), "  0.04923480");
    EXPECT_EQ(area1(846.0f), "  0.11979800");
    EXPECT_EQ(area1(300.0f), "  0.00006810");
}

TEST(SolutionBlock, ReserveMarginsAndBlockLayout) {
    report::Channel channel = report::captureChannel("report");
    writeReserveMargin(channel, 10703, 9424.0f);
    writeReserveMargin(channel, 973, 0.0f);  // no peak: no finite margin
    EXPECT_EQ(channel.captured,
              "\r\n   RESERVE MARGIN =   13.57 %\r\n\r\n   RESERVE MARGIN =******** %\r\n");

    channel.captured.clear();
    AnnualIndices r{1, 2, 3, 4, 123456.0, 5, std::numeric_limits<double>::quiet_NaN()};
    writeSolutionBlock(channel, " AREA 1  A1  DIRECT SOLUTION TIME = ", 100.0f, r);
    EXPECT_EQ(channel.captured,
              "\r\n AREA 1  A1  DIRECT SOLUTION TIME = ***** SEC\r\n"
              " --------------------------------------------\r\n"
              "     LOLH       LOLE       ALLR      ~ALOLP\r\n"
              "   1.000000   2.000000   3.000000   4.000000\r\n\r\n"
              "    MWHEUE    MWHTOTAL   puEUEppm\r\n"
              "***********          5.**********\r\n");
}

}  // namespace
}  // namespace adequacy
