// The indices read from simulated years of a varying system, worked by
// hand: each near hour is read at its own case's loads and peak hours and
// weighted by its step's probability, and the ppm's demand weights every
// case as the direct study does.

#include <gtest/gtest.h>

#include <memory>

#include "studies/simulated_years.hpp"

namespace adequacy::studies {
namespace {

// Two weather years of two steps; case (w, s) has the same load every hour.
std::unique_ptr<LoadCases> twoByTwo() {
    auto cases = std::make_unique<LoadCases>();
    cases->weatherYears = 2;
    cases->weatherWeights = {0.25, 0.75};
    cases->steps = {ForecastStep{-0.5, 0.99, 0.3}, ForecastStep{0.5, 1.01, 0.7}};
    cases->loads.resize(4);
    for (int w = 0; w < 2; ++w)
        for (int s = 0; s < 2; ++s) {
            HourlyLoads& loads = cases->at(w, s);
            loads.total.fill(static_cast<float>(100 + 10 * w + 5 * s));
            loads.area1.fill(static_cast<float>(50 + 10 * w + 5 * s));
            loads.totalPeakHour = everyDayAt(w == 1 && s == 1 ? 19 : 12);
            loads.area1PeakHour = everyDayAt(12);
        }
    return cases;
}

// Year 0 is near in weather year 1 at step 1, day 1's hour 19; year 1 in
// weather year 0 at step 0, day 2's hour 12.
SimulatedYears twoYears() {
    SimulatedYears years;
    years.years = 2;
    years.hours = {{0, 18, 112.0f, 70.0f, 1, 1}, {1, 24 + 11, 99.0f, 49.0f, 0, 0}};
    return years;
}

struct Expected {
    LoadChange change;
    bool area1;
    StudyFigures figures;  // the ppm left out: its demand is checked apart
};

TEST(SimulatedIndices, ReadEachHourAtItsOwnCaseWeightedByItsStep) {
    const auto cases = twoByTwo();
    const SimulatedYears years = twoYears();
    // Whole system: 115 - 112 = 3 MW short at weight 0.7, 100 - 99 = 1 MW
    // at 0.3, both at their case's peak hour; area 1 is short only in year
    // 1 (50 - 49), at its peak hour, until 6 MW more make year 0's hour 19
    // short too, which is not area 1's peak hour. A scaled change takes the
    // peak of 200.
    const std::vector<Expected> table{
        {{LoadForm::add, 0.0}, false, {0.5, 0.5, (0.7 * 3 + 0.3 * 1) / 2, 0.0}},
        {{LoadForm::add, 2.0}, false, {0.5, 0.5, (0.7 * 5 + 0.3 * 3) / 2, 0.0}},
        {{LoadForm::add, -2.0}, false, {0.35, 0.35, 0.7 * 1 / 2, 0.0}},
        {{LoadForm::scale, 20.0}, false, {0.5, 0.5, (0.7 * 14.5 + 0.3 * 11) / 2, 0.0}},
        {{LoadForm::add, 0.0}, true, {0.15, 0.15, 0.3 / 2, 0.0}},
        {{LoadForm::add, 6.0}, true, {0.15, 0.5, (0.7 * 1 + 0.3 * 7) / 2, 0.0}},
    };
    for (const Expected& e : table) {
        const SimulatedIndices indices(years, *cases, e.area1, 0, 200.0);
        const StudyFigures f = indices.at(e.change);
        const std::string what = std::to_string(e.change.mw) + (e.area1 ? " area 1" : "");
        EXPECT_NEAR(f.lole, e.figures.lole, 1e-6) << what;
        EXPECT_NEAR(f.lolh, e.figures.lolh, 1e-6) << what;
        EXPECT_NEAR(f.mwhEue, e.figures.mwhEue, 1e-5) << what;
    }
}

TEST(SimulatedIndices, YearValuesAndTheDemandOfThePpm) {
    const auto cases = twoByTwo();
    const SimulatedYears years = twoYears();
    const SimulatedIndices whole(years, *cases, false, 0, 200.0);
    const LoadChange none{};
    const std::vector<double> lolh = whole.yearValues(none, StudyIndex::lolh);
    ASSERT_EQ(lolh.size(), 2u);
    EXPECT_NEAR(lolh[0], 0.7, 1e-9);
    EXPECT_NEAR(lolh[1], 0.3, 1e-9);
    // Every case's year of demand, weighted by its weather year and step.
    const double demand =
        8760.0 * (0.25 * (0.3 * 100 + 0.7 * 105) + 0.75 * (0.3 * 110 + 0.7 * 115));
    const double eue = (0.7 * 3 + 0.3 * 1) / 2;
    EXPECT_NEAR(whole.at(none).eueppm, eue / demand * 1e6, 1e-6);
    const std::vector<double> ppm = whole.yearValues(none, StudyIndex::ppm);
    EXPECT_NEAR(ppm[0], 0.7 * 3 / demand * 1e6, 1e-6);
    EXPECT_NEAR(ppm[1], 0.3 * 1 / demand * 1e6, 1e-6);
    // The years after the first alone.
    const SimulatedIndices second(years, *cases, false, 0, 200.0, 1);
    EXPECT_NEAR(second.at(none).lolh, 0.3, 1e-9);
}

}  // namespace
}  // namespace adequacy::studies
