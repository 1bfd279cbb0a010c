// A small system whose units have derated states, studied both ways: the
// simulated units spend the stated shares of hours derated and on outage,
// and the simulated LOLH agrees with the direct solution's, within a few
// standard errors; the fast loop gives the reference loop's years.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "direct/outage_table.hpp"
#include "direct/single_area.hpp"
#include "montecarlo/fast/loop_comparison.hpp"
#include "montecarlo/units.hpp"
#include "montecarlo/year.hpp"

namespace adequacy {
namespace {

// Area 1: one 100 MW unit that keeps 60 MW when derated; area 0: two 80 MW
// units that keep 40 MW. Short repair times give many outages a year.
UnitTypes deratedUnits() {
    UnitTypes units;
    units.pmax = {100, 80};
    units.deratedMw = {60, 40};
    units.forcedOutageRate = {0.05f, 0.04f};
    units.deratedProbability = {0.15f, 0.12f};
    units.mttrDays = {1.0f, 1.5f};
    units.unitType = {0, 1, 1};
    units.area1UnitCount = 1;
    return units;
}

// Mean and standard error of one figure per simulated year.
struct Estimate {
    double mean = 0.0;
    double standardError = 0.0;
};

Estimate estimate(const std::vector<double>& perYear) {
    double sum = 0.0;
    for (double v : perYear) sum += v;
    const double n = static_cast<double>(perYear.size());
    const double mean = sum / n;
    double squares = 0.0;
    for (double v : perYear) squares += (v - mean) * (v - mean);
    return Estimate{mean, std::sqrt(squares / (n - 1.0) / n)};
}

constexpr int simulatedYears = 2000;

TEST(DeratedSystem, UnitsSpendTheStatedSharesOfHoursDeratedAndOut) {
    const UnitTypes units = deratedUnits();
    TransitionProbabilities probabilities{};
    SimulationState state = initialState(units, AtcTable{}, probabilities);
    // Unit 1 stands for type 1, unit 2 for type 2.
    std::vector<double> derated[2];
    std::vector<double> out[2];
    for (int year = 0; year < simulatedYears; ++year) {
        int deratedHours[2] = {0, 0};
        int outHours[2] = {0, 0};
        for (int hour = 0; hour < hoursPerYear; ++hour) {
            for (int u = 0; u < 2; ++u) {
                int& s = state.unitState[static_cast<std::size_t>(u)];
                s = nextUnitState(s, probabilities.unitFailProb[u], probabilities.unitRepairProb[u],
                                  probabilities.unitDeratedShare[u], state.ranSeed);
                deratedHours[u] += s == unitDerated ? 1 : 0;
                outHours[u] += s == unitOut ? 1 : 0;
            }
        }
        for (int u = 0; u < 2; ++u) {
            derated[u].push_back(deratedHours[u] / static_cast<double>(hoursPerYear));
            out[u].push_back(outHours[u] / static_cast<double>(hoursPerYear));
        }
    }
    for (int u = 0; u < 2; ++u) {
        const Estimate d = estimate(derated[u]);
        const Estimate o = estimate(out[u]);
        const double stated = units.deratedProbability[static_cast<std::size_t>(u)];
        // Precise enough to tell the stated share from a fifth of it.
        ASSERT_LT(d.standardError, 0.02 * stated);
        EXPECT_NEAR(d.mean, stated, 4.0 * d.standardError) << "type " << u + 1;
        EXPECT_NEAR(o.mean, units.forcedOutageRate[static_cast<std::size_t>(u)],
                    4.0 * o.standardError)
            << "type " << u + 1;
    }
}

TEST(DeratedSystem, SimulatedLolhAgreesWithTheDirectSolution) {
    // A constant load of 170 MW on 260 MW: the area-0 pair must cover 70 MW
    // while unit 1 is up (probability 0.9888) and 110 MW while it is derated
    // (0.9072), so LOLP = 1 - 0.8 x 0.9888 - 0.15 x 0.9072 = 0.07288, 638.4
    // hours a year.
    const UnitTypes units = deratedUnits();
    auto loads = std::make_unique<HourlyLoads>();
    setHourlyLoads(std::vector<float>(hoursPerYear, 170.0f),
                   std::vector<float>(hoursPerYear, 70.0f), *loads);
    auto tables = std::make_unique<CapacityTables>();
    report::Channel console = report::captureChannel("console");
    ASSERT_EQ(buildCapacityTables(units, *tables, console), BuildOutcome::built);
    const AnnualIndices direct =
        computeSingleArea(*tables, *loads, computeMttrFactor(tables->generationMttr));
    EXPECT_NEAR(direct.lolh, 0.07288 * hoursPerYear, 1e-3);

    const AtcTable atc = testing::table({{50.0f, 1.0f}, {-50.0f, 1.0f}});
    TransitionProbabilities probabilities{};
    SimulationState state = initialState(units, atc, probabilities);
    const SimulationInputs inputs{units, *loads, atc, probabilities};
    std::vector<double> lolh;
    for (int year = 0; year < simulatedYears; ++year) {
        const double before = state.system.lolHours;
        ASSERT_TRUE(advanceYear(inputs, state).has_value());
        lolh.push_back(state.system.lolHours - before);
    }
    const Estimate simulated = estimate(lolh);
    ASSERT_LT(simulated.standardError, 0.02 * direct.lolh);
    EXPECT_NEAR(simulated.mean, direct.lolh, 4.0 * simulated.standardError);
}

TEST(DeratedSystem, FastLoopGivesTheReferenceYears) {
    testing::Case c;
    c.units = deratedUnits();
    c.load = LoadParameters{{120.0f, 160.0f, 150.0f, 40.0f, 40.0f, 70.0f, 60.0f}};
    c.atc = testing::table({{50.0f, 0.9f}, {20.0f, 0.1f}, {-50.0f, 1.0f}});
    const testing::Comparison run{c};
    EXPECT_GT(run.last().system.lolHours, 0.0);
    EXPECT_GT(run.last().area1.lolHours, 0.0);
    run.expectSame();
}

}  // namespace
}  // namespace adequacy
