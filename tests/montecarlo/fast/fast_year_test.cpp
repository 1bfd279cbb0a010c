#include "montecarlo/fast/fast_year.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "montecarlo/fast/loop_comparison.hpp"

namespace adequacy {
namespace {

// The fast loop on the built-in data and on other ATC tables.
using testing::Case;
using testing::comparedYears;
using testing::Comparison;
using testing::table;

TEST(AdvanceYearFast, BuiltInData) {
    const Comparison run{Case{}};
    run.expectSame();
}

TEST(AdvanceYearFast, TieLeavesRowOneInEveryHourThatBeginsThere) {
    Case c;
    c.atc = table({{300.0f, 0.0f}, {200.0f, 0.75f}, {100.0f, 0.25f}, {-300.0f, 1.0f}});
    const Comparison run{c};
    ASSERT_TRUE(std::isinf(run.probabilities.atcLeaveProb));
    // Row 1 is entered (returns on r <= 0.125) but never kept for a second hour.
    EXPECT_GT(run.last().tie.atcStateHours[0], 0.0);
    EXPECT_GT(run.last().tie.atcStateHours[2], 0.0);
    run.expectSame();
}

TEST(AdvanceYearFast, ExportRowFirst) {
    Case c;
    c.atc = table({{-100.0f, 0.5f}, {300.0f, 0.7f}, {100.0f, 0.3f}});
    const Comparison run{c};
    // The tie starts in the export row and moves between the import rows.
    EXPECT_GT(run.last().tie.atcStateHours[1], 0.0);
    EXPECT_GT(run.last().tie.atcStateHours[2], 0.0);
    run.expectSame();
}

TEST(AdvanceYearFast, ZeroImportRowWithProbability) {
    Case c;
    c.atc = table({{250.0f, 0.9f}, {-250.0f, 1.0f}});
    const Comparison run{c};
    EXPECT_GT(run.last().tie.atcStateHours[atcZeroImportRow - 1], 0.0);
    run.expectSame();
}

}  // namespace
}  // namespace adequacy
