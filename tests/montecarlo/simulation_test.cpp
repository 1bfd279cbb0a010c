#include "montecarlo/simulation.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>

#include "model/loads.hpp"
#include "report/clock.hpp"

namespace adequacy {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Processor minutes differ from run to run.
std::string maskMinutes(const std::string& text) {
    static const std::regex minutes(R"(\n[ 0-9.*-]{10} min)");
    return std::regex_replace(text, minutes, "\n########## min");
}

// Everything from the first line that starts with `marker`, counting
// `linesBefore` lines back.
std::string tailFrom(const std::string& text, const std::string& marker, int linesBefore) {
    std::size_t at = text.find("\n" + marker);
    if (at == std::string::npos) return {};
    for (int line = 0; line < linesBefore; ++line) at = text.rfind('\n', at - 1);
    return text.substr(at + 1);
}

struct Phase {
    Phase() {
        computeHourlyLoads(builtInLoadParameters(), *loads);
        // The area-1 energy demand is the year's sum of area-1 hourly loads.
        double energy = 0.0;
        for (float load : loads->area1) energy += load;
        area1EnergyDemand = static_cast<float>(energy);
    }

    SimulationOutcome run(const std::string& answer) {
        std::FILE* in = fmemopen(const_cast<char*>(answer.data()), answer.size(), "r");
        report::ConsoleInput input{in, "console input"};
        const SimulationContext context{
            units, *loads, atc, 28.375f, area1EnergyDemand, report::processorSeconds()};
        const SimulationOutcome outcome = runSimulation(context, console, reportFile, input);
        std::fclose(in);
        return outcome;
    }

    UnitTypes units = builtInUnitTypes();
    std::unique_ptr<HourlyLoads> loads = std::make_unique<HourlyLoads>();
    // The built-in table as the two-area check leaves it: no zero-import or
    // zero-export residue.
    AtcTable atc = builtInAtcTable();
    float area1EnergyDemand = 0.0f;
    report::Channel console = report::captureChannel("console");
    report::Channel reportFile = report::captureChannel("report");
};

const std::string setUpConsole =
    " SETTING UP THE SEQUENTIAL MONTE CARLO SIMULATION\r\n"
    " TRANSMISSION MTTR =    0.333 DAYS\r\n"
    " GENERATION   MTTR =   28.375 DAYS\r\n"
    " NUMBER OF MONTECARLO ITERATIONS?\r\n";

TEST(RunSimulation, DefaultThousandYearsMatchTheReferenceRun) {
    Phase phase;
    ASSERT_EQ(phase.run("1000\n"), SimulationOutcome::finished);

    const std::string console = readFile(ADEQUACY_TEST_DATA "/default-1000.console");
    std::string expected = tailFrom(console, " SETTING UP THE SEQUENTIAL", 0);
    expected = expected.substr(0, expected.find(" yrs\r\n") + 6);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(maskMinutes(phase.console.captured), maskMinutes(expected));

    const std::string report = readFile(ADEQUACY_TEST_DATA "/default-1000.OP");
    const std::string expectedReport = tailFrom(report, " FD SEQUENTIAL MONTECARLO", 3);
    ASSERT_FALSE(expectedReport.empty());
    EXPECT_EQ(maskMinutes(phase.reportFile.captured), maskMinutes(expectedReport));
}

TEST(RunSimulation, FewerThanAThousandYearsStopsAfterTheAnswer) {
    Phase phase;
    EXPECT_EQ(phase.run("\n999\n"), SimulationOutcome::belowMinimumYears);
    EXPECT_EQ(phase.console.captured, setUpConsole);
    EXPECT_EQ(phase.reportFile.captured,
              "  \r\n  \r\n  \r\n"
              " FD SEQUENTIAL MONTECARLO SOLUTION\r\n"
              " TRANSMISSION MTTR =    0.333 DAYS\r\n"
              " GENERATION   MTTR =   28.375 DAYS\r\n"
              " ---------------------------------------------------------\r\n");
}

TEST(RunSimulation, NullAnswerStops) {
    Phase phase;
    EXPECT_EQ(phase.run(",1000\n"), SimulationOutcome::belowMinimumYears);
}

TEST(RunSimulation, TieWithNowhereToGoStopsTheRun) {
    Phase phase;
    phase.atc = AtcTable{};
    phase.atc.mw = {-300.0f, -200.0f};
    phase.atc.probability = {0.5f, 0.5f};
    EXPECT_EQ(phase.run("1000\n"), SimulationOutcome::cannotBeHere);
    EXPECT_EQ(phase.console.captured, setUpConsole + " CANNOT BE HERE AT 1\r\n");
    EXPECT_EQ(phase.reportFile.captured.find("LOLH"), std::string::npos);
}

}  // namespace
}  // namespace adequacy
