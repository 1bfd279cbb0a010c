#include "montecarlo/reporting/statistics.hpp"

#include <gtest/gtest.h>

#include <array>

#include "montecarlo/reporting/scratch.hpp"
#include "montecarlo/reporting/scratch_fixture.hpp"

namespace adequacy {
namespace {

using testing::systemRecord;
using ScratchStatistics = testing::ScratchFixture;

TEST(SdPercent, RunningEstimatesTwoOneOneAndAHalf) {
    // Relative deviations from 1.5: 1/3, -1/3, 0; mean square over n - 1 = 2
    // years is 1/9, root 1/3.
    const double sum = squaredRelativeDeviation(2.0, 1.5) + squaredRelativeDeviation(1.0, 1.5) +
                       squaredRelativeDeviation(1.5, 1.5);
    EXPECT_EQ(sdPercent(sum, 3), 33);
}

TEST(SdPercent, DivisorIsFormedInSinglePrecision) {
    // n - 1 = 2^24 + 1 rounds to 2^24 in single precision, so S / (n - 1) is
    // exactly 1/64 and 100 * 1/8 + 0.5 lands on 13; with the exact divisor
    // it would fall just short and truncate to 12.
    constexpr int n = (1 << 24) + 2;
    EXPECT_EQ(sdPercent(262144.0, n), 13);
}

TEST(SdPercent, ZeroEstimateIsUnknown) {
    EXPECT_EQ(sdPercent(squaredRelativeDeviation(0.0, 0.0), 1000), unknownSdPercent);
}

TEST_F(ScratchStatistics, ReadsEveryRecordBack) {
    for (double lolh : {2.0, 1.0, 1.5}) append(files, systemRecord(lolh));
    rewind(files);
    const std::array<double, areaEstimates> estimates{1.5, 0.0, 0.0, 0.0};
    const auto sd = sdPercents(files.system, 3, estimates, 0.0f);
    EXPECT_EQ(sd[0], 33);
    for (int i = 1; i < areaEstimates; ++i) EXPECT_EQ(sd[i], unknownSdPercent) << i;
}

TEST_F(ScratchStatistics, NegligibleTieRatesShowZero) {
    const double rates[3][2] = {{0.0, 1.0}, {1.0e-21, 3.0}, {0.0, 2.0}};
    for (const auto& year : rates) {
        YearRecords records{};
        records.tie[0] = year[0];
        records.tie[1] = year[1];
        append(files, records);
    }
    rewind(files);
    std::array<double, atcRows> estimates{};
    estimates[0] = 1.0e-21;  // its relative deviations, -1, 0 and -1, are ignored
    estimates[1] = 2.0;
    const auto sd = sdPercents(files.tie, 3, estimates, negligibleTieRate);
    EXPECT_EQ(sd[0], 0);
    EXPECT_EQ(sd[1], 50);  // deviations -1/2, 1/2, 0: root of 1/4
    for (int row = 2; row < atcRows; ++row) EXPECT_EQ(sd[row], 0) << row;
}

}  // namespace
}  // namespace adequacy
