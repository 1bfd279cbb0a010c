#pragma once
// The fast year loop against the reference loop: both run from the same
// start, and their states and records are compared after every year.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "direct/atc_check.hpp"
#include "montecarlo/fast/fast_year.hpp"
#include "montecarlo/year.hpp"
#include "report/channel.hpp"

namespace adequacy::testing {

inline constexpr int comparedYears = 24;

struct Case {
    UnitTypes units = builtInUnitTypes();
    LoadParameters load = builtInLoadParameters();
    AtcTable atc = builtInAtcTable();
};

// The residue rows as the two-area dialog leaves them.
inline AtcTable checkedTable(AtcTable table) {
    report::Channel console = report::captureChannel("console");
    report::Channel reportFile = report::captureChannel("report");
    EXPECT_TRUE(printAndCheckAtcTable(table, console, reportFile));
    return table;
}

inline AtcTable table(std::initializer_list<std::pair<float, float>> rows) {
    AtcTable atc{};
    int row = 0;
    for (auto [mw, probability] : rows) {
        atc.mw[row] = mw;
        atc.probability[row] = probability;
        ++row;
    }
    return checkedTable(atc);
}

struct Year {
    SimulationState state;
    std::optional<YearRecords> records;
};

// Runs the reference loop, then every loop of this processor from the same
// start, and compares them year by year, field for field.
struct Comparison {
    explicit Comparison(const Case& c, int years = comparedYears) : units(c.units), atc(c.atc) {
        computeHourlyLoads(c.load, *loads);
        start = initialState(units, atc, probabilities);
        const SimulationInputs inputs{units, *loads, atc, probabilities};
        SimulationState state = start;
        for (int year = 0; year < years; ++year) {
            const std::optional<YearRecords> records = advanceYear(inputs, state);
            reference.push_back(Year{state, records});
            if (!records) break;
        }
    }

    void expectSameWith(HourChecks checks, const std::string& name) const {
        const SimulationInputs inputs{units, *loads, atc, probabilities};
        const FastYearPlan plan = planFastYears(inputs, checks);
        SimulationState state = start;
        for (const Year& expected : reference) {
            const std::optional<YearRecords> records = advanceYearFast(inputs, plan, state);
            ASSERT_EQ(state, expected.state) << name << ", year " << state.yearCount;
            ASSERT_EQ(records, expected.records) << name << ", year " << state.yearCount;
        }
    }

    void expectSame() const {
        expectSameWith(scalarHourChecks(), "scalar");
        if (avx2Available()) expectSameWith(avx2HourChecks(), "avx2");
        if (avx512Available()) {
            expectSameWith(avx512HourChecks(MaskJoin::generalRegisters), "avx512, masks or-ed");
            expectSameWith(avx512HourChecks(MaskJoin::maskChain), "avx512, masks chained");
        }
    }

    const SimulationState& last() const { return reference.back().state; }

    UnitTypes units;
    AtcTable atc;
    std::unique_ptr<HourlyLoads> loads = std::make_unique<HourlyLoads>();
    TransitionProbabilities probabilities{};
    SimulationState start{};
    std::vector<Year> reference;
};

}  // namespace adequacy::testing
