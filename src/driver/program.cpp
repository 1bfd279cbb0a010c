#include "driver/program.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "direct/atc_check.hpp"
#include "direct/outage_table.hpp"
#include "direct/single_area.hpp"
#include "direct/two_area.hpp"
#include "driver/interrupts.hpp"
#include "model/load_dialog.hpp"
#include "model/loads.hpp"
#include "montecarlo/simulation.hpp"
#include "report/clock.hpp"
#include "report/console_input.hpp"
#include "report/fatal.hpp"
#include "report/free_format.hpp"

namespace adequacy {
namespace {

// Larger than any block of lines that a phase writes between two flushes.
constexpr std::size_t reportBufferBytes = 1 << 20;

// Everything a run keeps from start to end, allocated once. The load
// parameters and the ATC rows start as the system's and are working copies
// that the dialogs replace.
struct Session {
    explicit Session(const StudySystem& system)
        : units(unitTypesOf(system)),
          loadParameters(system.loadParameters),
          loadShape(system.loadShape),
          hourlyLoads(system.hourlyLoads ? &*system.hourlyLoads : nullptr),
          atc(system.atc) {}
    report::Channel console = report::consoleChannel();
    report::Channel reportFile;
    report::ConsoleInput input;
    UnitTypes units;
    CapacityTables tables;
    LoadParameters loadParameters;
    LoadShape loadShape;
    const HourlyLoadYear* hourlyLoads;  // a year given hour by hour, else the model's
    HourlyLoads loads;
    AtcTable atc;
    float cpuMark = 0.0f;
    float mttrFactor = 0.0f;
    float area1EnergyDemand = 0.0f;
};

void openReport(Session& session) {
    session.reportFile.name = "report file OP";
    session.reportFile.file = std::fopen("OP", "wb");
    if (session.reportFile.file == nullptr)
        report::fatalIoError(session.reportFile.name,
                             std::string("cannot create: ") + std::strerror(errno));
    // Lines reach the file only when a phase flushes a finished block.
    std::setvbuf(session.reportFile.file, nullptr, _IOFBF, reportBufferBytes);
    report::registerReportChannel(&session.reportFile);
}

[[noreturn]] void endSequence(Session& session, int status) {
    report::flush(session.reportFile);
    report::writeFree(session.console, {" "});
    report::writeFree(session.console, {"FILE OP CONTAINS THE OUTPUT REPORT"});
    report::writeFree(session.console, {"PRESS ENTER TO END THIS PROGRAM"});
    report::readFirstCharacter(session.input);
    report::endProgram(status);
}

std::optional<std::string_view> loadsFile(const Session& s) {
    if (s.hourlyLoads == nullptr) return std::nullopt;
    return s.hourlyLoads->path;
}

// Loads and single-area solution, repeated for every new set of parameters.
// Loads given hour by hour have no parameters to change: no dialog.
DialogOutcome singleAreaPhase(Session& s) {
    while (true) {
        if (s.hourlyLoads != nullptr) {
            setHourlyLoads(s.hourlyLoads->total, s.hourlyLoads->area1, s.loads);
        } else {
            computeHourlyLoads(s.loadParameters, s.loadShape, s.loads);
        }
        AnnualIndices indices = computeSingleArea(s.tables, s.loads, s.mttrFactor);
        reportSingleArea(s.tables, s.loads, s.loadParameters, indices, s.cpuMark, s.console,
                         s.reportFile, loadsFile(s));
        report::flush(s.reportFile);
        if (s.hourlyLoads != nullptr) return DialogOutcome::proceed;
        DialogOutcome outcome = runLoadDialog(s.loadParameters, s.console, s.input);
        if (outcome != DialogOutcome::repeat) return outcome;
    }
}

// ATC table and two-area solution, repeated for every new table.
DialogOutcome twoAreaPhase(Session& s) {
    while (true) {
        if (printAndCheckAtcTable(s.atc, s.console, s.reportFile))
            s.area1EnergyDemand = solveTwoAreas(s.tables, s.loads, s.atc, s.mttrFactor, s.cpuMark,
                                                s.console, s.reportFile);
        report::flush(s.reportFile);
        DialogOutcome outcome = runAtcDialog(s.atc, s.console, s.input);
        if (outcome != DialogOutcome::repeat) return outcome;
    }
}

[[noreturn]] void simulationPhase(Session& s) {
    SimulationContext context{
        s.units, s.loads, s.atc, s.tables.generationMttr, s.area1EnergyDemand, s.cpuMark};
    switch (runSimulation(context, s.console, s.reportFile, s.input)) {
        case SimulationOutcome::finished:
            endSequence(s, report::exitNormal);
        case SimulationOutcome::belowMinimumYears:
            report::endProgram(report::exitNormal);
        case SimulationOutcome::cannotBeHere:
            report::endProgram(report::exitAnalysisStopped);
    }
    report::endProgram(report::exitAnalysisStopped);
}

}  // namespace

int runProgram(const StudySystem& system) {
    if (system.hourlyLoads && (system.hourlyLoads->total.size() != hoursPerYear ||
                               system.hourlyLoads->area1.size() != hoursPerYear)) {
        // The system reader counts the rows; this guards the arrays.
        std::fprintf(stderr, "adequacy: %s: not a year of %d hourly loads\n",
                     system.hourlyLoads->path.c_str(), hoursPerYear);
        return report::exitIoError;  // as every error of a system file, before OP
    }
    auto session = std::make_unique<Session>(system);
    Session& s = *session;
    installInterruptHandlers();
    openReport(s);
    s.cpuMark = report::processorSeconds();
    if (buildCapacityTables(s.units, s.tables, s.console) == BuildOutcome::invalidUnit)
        endSequence(s, report::exitAnalysisStopped);
    s.mttrFactor = computeMttrFactor(s.tables.generationMttr);
    if (singleAreaPhase(s) == DialogOutcome::inputError)
        endSequence(s, report::exitAnalysisStopped);
    if (twoAreaPhase(s) == DialogOutcome::inputError) endSequence(s, report::exitAnalysisStopped);
    simulationPhase(s);
}

}  // namespace adequacy
