// What the reader makes of valid files: the shipped examples, the defaults,
// the order of the units and the rounding of decimals to single precision.

#include "system/system_file.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "direct/atc_check.hpp"
#include "model/study_system.hpp"
#include "system/system_files.hpp"

namespace adequacy::testing {
namespace {

const std::string examples = ADEQUACY_EXAMPLES;

StudySystem readOrFail(const std::string& path) {
    auto result = system::readSystemFile(path);
    if (auto* error = std::get_if<system::SystemFileError>(&result)) {
        ADD_FAILURE() << system::describe(*error);
        return {};
    }
    return std::get<StudySystem>(std::move(result));
}

std::uint32_t bits(float value) { return std::bit_cast<std::uint32_t>(value); }

TEST(SystemFile, BuiltinExampleIsTheBuiltInSystemBitForBit) {
    const StudySystem file = readOrFail(examples + "/builtin.toml");
    const StudySystem builtIn = builtInSystem();
    ASSERT_EQ(file.types.size(), builtIn.types.size());
    for (std::size_t t = 0; t < builtIn.types.size(); ++t) {
        SCOPED_TRACE("type " + std::to_string(t + 1));
        EXPECT_EQ(file.types[t].pmaxMw, builtIn.types[t].pmaxMw);
        EXPECT_EQ(file.types[t].deratedMw, builtIn.types[t].deratedMw);
        EXPECT_EQ(bits(file.types[t].forcedOutageRate), bits(builtIn.types[t].forcedOutageRate));
        EXPECT_EQ(bits(file.types[t].deratedProbability),
                  bits(builtIn.types[t].deratedProbability));
        EXPECT_EQ(bits(file.types[t].mttrDays), bits(builtIn.types[t].mttrDays));
    }
    EXPECT_EQ(file.unitTypes, builtIn.unitTypes);
    EXPECT_EQ(file.area1UnitCount, builtIn.area1UnitCount);
    for (std::size_t i = 0; i < builtIn.loadParameters.d.size(); ++i)
        EXPECT_EQ(bits(file.loadParameters.d[i]), bits(builtIn.loadParameters.d[i]))
            << "D" << i + 1;
    for (std::size_t h = 0; h < builtIn.loadShape.size(); ++h)
        EXPECT_EQ(bits(file.loadShape[h]), bits(builtIn.loadShape[h])) << "hour " << h + 1;
    EXPECT_FALSE(file.hourlyLoads.has_value());
    for (std::size_t r = 0; r < builtIn.atc.mw.size(); ++r) {
        EXPECT_EQ(bits(file.atc.mw[r]), bits(builtIn.atc.mw[r])) << "row " << r + 1;
        EXPECT_EQ(bits(file.atc.probability[r]), bits(builtIn.atc.probability[r]))
            << "row " << r + 1;
    }
    EXPECT_EQ(file.source, examples + "/builtin.toml");
}

TEST(SystemFile, EveryShippedExampleIsValid) {
    for (const char* name : {"builtin.toml", "derated.toml", "hourly.toml"}) {
        SCOPED_TRACE(name);
        const StudySystem system = readOrFail(examples + "/" + name);
        EXPECT_FALSE(system.types.empty());
        EXPECT_GT(system.area1UnitCount, 0);
        EXPECT_LT(system.area1UnitCount, static_cast<int>(system.unitTypes.size()));
    }
}

const std::string twoTypes = R"(
[[unit_type]]
pmax_mw = 50
derated_mw = 20
forced_outage_rate = 0.02
derated_probability = 0.05
mttr_days = 3
[[unit_type]]
pmax_mw = 400
derated_mw = 0
forced_outage_rate = 0.08
derated_probability = 0
mttr_days = 40.5
)";

TEST(SystemFile, AreaOneUnitsComeFirstEachListRepeatedWhole) {
    SystemFileFolder folder;
    const StudySystem system = readOrFail(folder.write("s.toml", twoTypes + R"(
[area0]
units = [2, 1, 1]
repeat = 2
[area1]
units = [1, 2]
[loads]
parameters = [1, 2, 3, 4, 5, 6, 7]
)"));
    EXPECT_EQ(system.area1UnitCount, 2);
    EXPECT_EQ(system.unitTypes, (std::vector<int>{0, 1, 1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(system.types[1].pmaxMw, 400);
    EXPECT_EQ(system.types[0].deratedMw, 20);
    EXPECT_EQ(system.types[1].mttrDays, 40.5f);
}

TEST(SystemFile, WithoutAtcRowsTheTieCarriesNothingAndTheShapeIsTheBuiltInOne) {
    SystemFileFolder folder;
    const StudySystem system = readOrFail(folder.write("s.toml", R"(
area1.units = [1]
area0 = { units = [2] }
loads = { parameters = [10, 20, 30, 4, 5, 6, 7.5] }
)" + twoTypes));
    for (std::size_t r = 0; r < system.atc.mw.size(); ++r) {
        EXPECT_EQ(system.atc.mw[r], 0.0f);
        EXPECT_EQ(system.atc.probability[r], 0.0f);
    }
    EXPECT_EQ(system.loadShape, builtInLoadShape());
    EXPECT_EQ(system.loadParameters.d[6], 7.5f);
}

TEST(SystemFile, AtcRowsFillRowsOneToTenInOrder) {
    SystemFileFolder folder;
    std::string rows;
    for (int r = 1; r <= 10; ++r)
        rows += "[[atc]]\nmw = " + std::to_string(r % 2 == 1 ? 10 * r : -10 * r) +
                "\nprobability = 0.1\n";
    const StudySystem system = readOrFail(
        folder.write("s.toml", twoTypes +
                                   "[area1]\nunits = [1]\n[area0]\nunits = [2]\n[loads]\n"
                                   "parameters = [1, 2, 3, 4, 5, 6, 7]\n" +
                                   rows));
    for (int r = 1; r <= 10; ++r) {
        EXPECT_EQ(system.atc.mw[static_cast<std::size_t>(r - 1)],
                  static_cast<float>(r % 2 == 1 ? 10 * r : -10 * r));
        EXPECT_EQ(system.atc.probability[static_cast<std::size_t>(r - 1)], 0.1f);
    }
    EXPECT_EQ(system.atc.mw[10], 0.0f);
    EXPECT_EQ(system.atc.mw[11], 0.0f);
}

// Around the tolerance of 10^-6, float by float: the file refuses exactly the
// tables that the run's check refuses, in either direction.
TEST(SystemFile, AtcTablesAreRefusedExactlyWhenTheRunsCheckRefusesThem) {
    SystemFileFolder folder;
    const std::string head = twoTypes +
                             "[area1]\nunits = [1]\n[area0]\nunits = [2]\n[loads]\n"
                             "parameters = [1, 2, 3, 4, 5, 6, 7]\n";
    // The second pair ends its steps on -10^-6 itself.
    float justBelow = 1.0e-6f;
    for (int step = 0; step < 20; ++step) justBelow = std::nextafter(justBelow, 0.0f);
    const std::pair<float, float> starts[] = {{0.7f, 0.3f}, {1.0f, justBelow}};
    int refused = 0;
    for (float sign : {1.0f, -1.0f}) {
        for (auto [first, second] : starts) {
            for (int step = 0; step < 40; ++step, second = std::nextafter(second, 1.0f)) {
                AtcTable table{};
                table.mw[0] = 300.0f * sign;
                table.probability[0] = first;
                table.mw[1] = 100.0f * sign;
                table.probability[1] = second;
                char rows[200];
                std::snprintf(rows, sizeof rows,
                              "[[atc]]\nmw = %g\nprobability = %.9g\n[[atc]]\nmw = %g\n"
                              "probability = %.9g\n",
                              table.mw[0], static_cast<double>(first), table.mw[1],
                              static_cast<double>(second));
                auto result = system::readSystemFile(folder.write("s.toml", head + rows));
                report::Channel console = report::captureChannel("console");
                report::Channel reportFile = report::captureChannel("report");
                const bool accepted = printAndCheckAtcTable(table, console, reportFile);
                EXPECT_EQ(std::holds_alternative<StudySystem>(result), accepted) << rows;
                refused += accepted ? 0 : 1;
            }
        }
    }
    EXPECT_GT(refused, 20);
    EXPECT_LT(refused, 140);
}

// Each decimal lies a hair above the midpoint between two floats, so close
// that the nearest double is the midpoint itself; rounding that double to
// float would then tie to even and go down.
TEST(SystemFile, DecimalsRoundOnceToTheNearestSinglePrecisionNumber) {
    SystemFileFolder folder;
    const StudySystem system = readOrFail(folder.write("s.toml", R"(
[[unit_type]]
pmax_mw = 5
derated_mw = 0
forced_outage_rate = 0.5000000298023223876953126
derated_probability = 0.0
mttr_days = 1.000_000_059_604_644_775_390_625_1
[area1]
units = [1]
[area0]
units = [1]
[loads]
parameters = [1, 2, 3, 4, 5, 6, +7.0000002384185791015625001]
)"));
    ASSERT_EQ(static_cast<float>(0.5000000298023223876953126), 0.5f);
    EXPECT_EQ(system.types[0].forcedOutageRate, 0.50000006f);
    EXPECT_EQ(system.types[0].mttrDays, 1.00000012f);
    EXPECT_EQ(system.loadParameters.d[6], 7.00000048f);
    EXPECT_EQ(system.types[0].deratedProbability, 0.0f);

    // After a byte-order mark, columns of line 1 start behind it.
    const StudySystem marked = readOrFail(folder.write(
        "bom.toml",
        "\xEF\xBB\xBFloads = { parameters = [1, 2, 3, 4, 5, 6, 7.0000002384185791015625001] }\n"
        "area1.units = [1]\narea0.units = [1]\n"
        "unit_type = [{ pmax_mw = 5, derated_mw = 0, forced_outage_rate = 0.1, "
        "derated_probability = 0, mttr_days = 1 }]\n"));
    EXPECT_EQ(marked.loadParameters.d[6], 7.00000048f);
}

}  // namespace
}  // namespace adequacy::testing
