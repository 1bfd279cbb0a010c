// The independent engine against exact figures: runs of many seeds cover
// the exact LOLH with their 95 % intervals as often as intervals should, and
// the estimates of different seeds are uncorrelated. In process, on a small
// system whose exact figures the single-area solution gives.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "direct/outage_table.hpp"
#include "direct/single_area.hpp"
#include "model/study_system.hpp"
#include "montecarlo/independent/year_events.hpp"
#include "montecarlo/independent/year_record.hpp"
#include "report/channel.hpp"

namespace adequacy::independent {
namespace {

// Two 40 MW units in area 1, three 60 MW units with a 30 MW derated state in
// area 0, under a constant 140 MW: short whenever more than 120 MW are out,
// 39.5 hours a year.
StudySystem smallSystem() {
    StudySystem system;
    system.types = {UnitType{40, 0, 0.08f, 0.0f, 1.0f}, UnitType{60, 30, 0.05f, 0.05f, 2.0f}};
    system.unitTypes = {0, 0, 1, 1, 1};
    system.area1UnitCount = 2;
    system.hourlyLoads = HourlyLoadYear{"constant.csv", std::vector<float>(hoursPerYear, 140.0f),
                                        std::vector<float>(hoursPerYear, 60.0f)};
    return system;
}

struct Estimate {
    double lolh;
    double standardError;
};

struct SmallRun {
    SmallRun() : units(unitTypesOf(smallSystem())), loads(std::make_unique<HourlyLoads>()) {
        const StudySystem system = smallSystem();
        setHourlyLoads(system.hourlyLoads->total, system.hourlyLoads->area1, *loads);
        report::Channel console;
        buildCapacityTables(units, tables, console);
        exactLolh = computeSingleArea(tables, *loads, 1.0f).lolh;
        AtcTable tie{};  // 50 MW nineteen hours in twenty, else nothing
        tie.mw[0] = 50.0f;
        tie.probability[0] = 0.95f;
        tie.probability[atcZeroImportRow - 1] = 0.05f;
        chains = buildChains(units, tie);
    }

    Estimate simulate(std::uint32_t seed, int years) const {
        const YearModel model(chains, *loads);
        YearWork work(chains);
        YearOutcome outcome;
        outcome.losses.reserve(hoursPerYear);
        SimulationState state{};
        RunYears run = runYears(1, years);
        for (int y = 0; y < years; ++y) {
            simulateYear(model, seed, static_cast<std::uint64_t>(y), work, outcome);
            addYear(yearFigures(outcome, *loads, run), run, state);
        }
        double sum = 0.0, squares = 0.0;
        for (const YearFigures& y : run.years) sum += y.system.lolHours;
        const double mean = sum / years;
        for (const YearFigures& y : run.years)
            squares += (y.system.lolHours - mean) * (y.system.lolHours - mean);
        return {mean, std::sqrt(squares / (years - 1) / years)};
    }

    UnitTypes units;
    std::unique_ptr<HourlyLoads> loads;
    CapacityTables tables;
    double exactLolh = 0.0;
    Chains chains;
};

// 200 fixed seeds of 2,000 years: a 95 % interval holds the exact LOLH in
// 190 runs on average; 180 to 199 is the band of about three binomial
// standard deviations. Neighbouring seeds' estimates correlate no more than
// chance allows: |r| below 0.3, three standard errors of r over 100 pairs.
TEST(IndependentEngine, IntervalsOfManySeedsCoverTheExactFigureAndSeedsAreUncorrelated) {
    const SmallRun small;
    ASSERT_GT(small.exactLolh, 30.0);
    std::vector<double> estimates;
    int covered = 0;
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        const Estimate e = small.simulate(seed * 7919u, 2000);
        estimates.push_back(e.lolh);
        if (std::abs(e.lolh - small.exactLolh) <= 1.96 * e.standardError) ++covered;
    }
    RecordProperty("covered", covered);
    EXPECT_GE(covered, 180);
    EXPECT_LE(covered, 199);
    double mx = 0.0, my = 0.0;
    for (std::size_t i = 0; i < estimates.size(); i += 2) {
        mx += estimates[i];
        my += estimates[i + 1];
    }
    mx /= 100.0;
    my /= 100.0;
    double sxy = 0.0, sxx = 0.0, syy = 0.0;
    for (std::size_t i = 0; i < estimates.size(); i += 2) {
        sxy += (estimates[i] - mx) * (estimates[i + 1] - my);
        sxx += (estimates[i] - mx) * (estimates[i] - mx);
        syy += (estimates[i + 1] - my) * (estimates[i + 1] - my);
    }
    const double r = sxy / std::sqrt(sxx * syy);
    RecordProperty("correlation", std::to_string(r));
    EXPECT_LT(std::abs(r), 0.3);
}

}  // namespace
}  // namespace adequacy::independent
