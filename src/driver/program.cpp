#include "driver/program.hpp"

#include <cerrno>
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

// Everything a run keeps from start to end, allocated once.
struct Session {
    // Spelt out: clang before 16 cannot initialise an aggregate from
    // parentheses, as make_unique does.
    Session(const Options& runOptions, const StudySystem& system)
        : options(runOptions), studySystem(system) {}

    const Options& options;
    // Not yet read by the phases below, which still take the built-in units,
    // load parameters and ATC rows.
    const StudySystem& studySystem;
    report::Channel console = report::consoleChannel();
    report::Channel reportFile;
    report::ConsoleInput input;
    UnitTypes units = builtInUnitTypes();
    CapacityTables tables;
    LoadParameters loadParameters = builtInLoadParameters();
    HourlyLoads loads;
    AtcTable atc = builtInAtcTable();
    float cpuMark = 0.0f;
    float mttrFactor = 0.0f;
    float area1EnergyDemand = 0.0f;
};

// Each command-line answer takes the place of the console line at its
// prompt; a dialog's next prompt then gets a blank line, so that the dialog
// goes on with the values the answer set.
report::ConsoleInput scriptedInput(const Options& options) {
    report::ConsoleInput input;
    auto script = [&input](report::Prompt prompt, const std::optional<std::string>& answer,
                           std::vector<std::string> lines, const char* option) {
        report::ScriptedLines& scripted = input.scripted[static_cast<std::size_t>(prompt)];
        scripted.source = std::string("answer of ") + option;
        if (answer) scripted.lines = std::move(lines);
    };
    const std::string none;
    script(report::Prompt::loadParameters, options.loadAnswer,
           {options.loadAnswer.value_or(none), none}, "--load");
    script(report::Prompt::atcTable, options.atcAnswer, {options.atcAnswer.value_or(none), none},
           "--atc");
    script(report::Prompt::years, options.yearsAnswer, {options.yearsAnswer.value_or(none)},
           "--years");
    input.unattended = options.yearsAnswer.has_value();
    return input;
}

void openReport(Session& session) {
    const std::string& path = session.options.reportPath;
    session.reportFile.name = "report file " + path;
    session.reportFile.file = std::fopen(path.c_str(), "wb");
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
    const std::string fileLine =
        "FILE " + session.options.reportPath + " CONTAINS THE OUTPUT REPORT";
    report::writeFree(session.console, {std::string_view(fileLine)});
    report::writeFree(session.console, {"PRESS ENTER TO END THIS PROGRAM"});
    report::readFirstCharacter(session.input, report::Prompt::closing);
    report::endProgram(status);
}

// Loads and single-area solution, repeated for every new set of parameters.
DialogOutcome singleAreaPhase(Session& s) {
    while (true) {
        computeHourlyLoads(s.loadParameters, s.loads);
        AnnualIndices indices = computeSingleArea(s.tables, s.loads, s.mttrFactor);
        reportSingleArea(s.tables, s.loads, s.loadParameters, indices, s.cpuMark, s.console,
                         s.reportFile);
        report::flush(s.reportFile);
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
        s.units,   s.loads,        s.atc,           s.tables.generationMttr, s.area1EnergyDemand,
        s.cpuMark, s.options.seed, !s.options.quiet};
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

int runProgram(const Options& options, const StudySystem& studySystem) {
    auto session = std::make_unique<Session>(options, studySystem);
    session->input = scriptedInput(options);
    Session& s = *session;
    installInterruptHandlers();
    openReport(s);
    s.cpuMark = report::processorSeconds();
    if (buildCapacityTables(s.units, s.tables, s.console) == BuildOutcome::invalidUnit)
        endSequence(s, report::exitAnalysisStopped);
    s.loadParameters = builtInLoadParameters();
    s.mttrFactor = computeMttrFactor(s.tables.generationMttr);
    if (singleAreaPhase(s) == DialogOutcome::inputError)
        endSequence(s, report::exitAnalysisStopped);
    if (twoAreaPhase(s) == DialogOutcome::inputError) endSequence(s, report::exitAnalysisStopped);
    simulationPhase(s);
}

}  // namespace adequacy
