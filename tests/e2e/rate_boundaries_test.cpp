// Unit rates at the edges of what the simulation can hold, through the real
// program: a type is refused when its hourly probabilities would exceed 1,
// with a message that says why, and an accepted one is simulated as the
// direct solution reads it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "e2e/program_run.hpp"

namespace adequacy::testing {
namespace {

struct RateCase {
    const char* what;
    std::string rates;         // forced_outage_rate, derated_probability, mttr_days lines
    std::string refusal = {};  // the message after "system.toml:6: unit_type[1].mttr_days: "
    std::string summary = {};  // the simulation's SA line, when accepted
};

std::string rates(const char* forced, const char* derated, const char* mttr) {
    return std::string("forced_outage_rate = ") + forced + "\nderated_probability = " + derated +
           "\nmttr_days = " + mttr + "\n";
}

// Ten 100 MW units in each area, against a flat load that any outage leaves
// short.
std::string systemWith(const std::string& typeRates) {
    return "[[unit_type]]\npmax_mw = 100\nderated_mw = 0\n" + typeRates +
           "[area1]\nunits = [1]\nrepeat = 10\n[area0]\nunits = [1]\nrepeat = 10\n"
           "[loads]\nparameters = [0, 0, 0, 1950, 0, 0, 0]\nshape = [1, 1, 1, 1, 1, 1, 1, 1, "
           "1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1]\n";
}

const std::string oneHour =
    "must be at least one hour, 0.04166667 days: the simulation repairs a "
    "unit in an hour at the soonest (is ";

// The simulated whole system short in every hour, and never.
const std::string always = "**********  0 365.000000  0   1.000000  0**********  0  SA";

TEST(RateBoundaries, RefusedWithTheReasonOrSimulatedAsTheDirectSolutionReadsThem) {
    const RateCase cases[] = {
        {"repair time of the documented old minimum", rates("0.1", "0", "1e-6"), oneHour + "1e-6)"},
        {"repair time under an hour", rates("0.1", "0", "0.04"), oneHour + "0.04)"},
        {"smallest double", rates("0.1", "0", "4.9e-324"), oneHour + "4.9e-324)"},
        {"repair time above the limit", rates("0.1", "0", "2e6"),
         "must be at most 1000000 days (is 2e6)"},
        {"failure probability above 1", rates("0.99", "0", "1"),
         "must be at least 99.0001 hours (4.125004 days) for forced_outage_rate and "
         "derated_probability adding up to 0.99: a unit repaired sooner would have to fail more "
         "than once an hour (is 1)"},
        {"failure probability at 1", rates("0.99", "0", "4.125004"), "", always},
        {"repair time of one hour", rates("0.1", "0", "0.0416667"), "", always},
        // Single precision adds these up to just above 1: never up.
        {"outage probabilities rounding above 1", rates("0.2500001", "0.75", "5"), "", always},
        // A draw of exactly 0 comes now and then; it must not fail the unit.
        {"a unit that never fails", rates("0", "0", "10000"), "",
         "  0.000000***   0.000000***   0.000000***     0.000***  SA"},
    };
    for (const RateCase& c : cases) {
        SCOPED_TRACE(c.what);
        RunSetup setup;
        setup.args = {"--system", "system.toml", "--years", "1000"};
        setup.prepare = [&](const std::filesystem::path& dir) {
            std::ofstream(dir / "system.toml") << systemWith(c.rates);
        };
        const ProgramRun run = runProgram("", setup);
        if (!c.refusal.empty()) {
            EXPECT_EQ(run.exitStatus, 2);
            EXPECT_EQ(run.errors,
                      "adequacy: system.toml:6: unit_type[1].mttr_days: " + c.refusal + "\n");
            EXPECT_FALSE(run.reportExists);
            continue;
        }
        EXPECT_EQ(run.exitStatus, 0) << run.errors;
        EXPECT_NE(run.console.find("\r\n" + c.summary), std::string::npos) << run.console;
    }
}

}  // namespace
}  // namespace adequacy::testing
