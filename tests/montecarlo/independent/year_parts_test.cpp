// The pieces the independent engine's exactness rests on, against plain
// computations: the stretch maxima of the loads, and the 128-bit sums of
// unserved energy written as text and read back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "montecarlo/independent/exact_mwh.hpp"
#include "montecarlo/independent/load_peaks.hpp"

namespace adequacy::independent {
namespace {

// Every stretch of a year of uneven loads against a plain scan; a NaN load
// counts as the largest, so that it never hides a short hour beside it.
TEST(LoadPeaks, EveryStretchsLargestLoadAsAScanFindsIt) {
    std::vector<float> loads(8760);
    for (std::size_t h = 0; h < loads.size(); ++h)
        loads[h] = static_cast<float>((h * 7919) % 1009) + 0.5f;
    loads[4000] = std::numeric_limits<float>::quiet_NaN();
    const LoadPeaks peaks(loads);
    for (int first = 0; first < 8760; first += 97) {
        for (int end = first + 1; end <= 8760; end += 131) {
            float largest = 0.0f;
            for (int h = first; h < end; ++h)
                largest = std::isnan(loads[static_cast<std::size_t>(h)])
                              ? std::numeric_limits<float>::infinity()
                              : std::max(largest, loads[static_cast<std::size_t>(h)]);
            ASSERT_EQ(peaks.max(first, end), largest) << first << " " << end;
        }
    }
}

TEST(ExactMwh, SumsReadBackFromTheirTextAndRefuseWhatIsNotOne) {
    const ExactUnits big = static_cast<ExactUnits>(toUnits(8760.0 * 10000000.0)) * 1000000;
    for (ExactUnits units : {ExactUnits{0}, ExactUnits{-5}, ExactUnits{65536}, big, -big}) {
        ExactUnits back = 1;
        ASSERT_TRUE(fromDecimal(toDecimal(units), back));
        EXPECT_TRUE(back == units);
    }
    EXPECT_EQ(toDecimal(ExactUnits{-1234567}), "-1234567");
    EXPECT_EQ(toMwh(toUnits(1424.5)), 1424.5);  // a half MW is whole units
    ExactUnits ignored = 0;
    for (const char* text : {"", "-", "12a", "1e5", "99999999999999999999999999999999999999999"})
        EXPECT_FALSE(fromDecimal(text, ignored)) << text;
}

}  // namespace
}  // namespace adequacy::independent
