#include "driver/program.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <thread>

#include "direct/atc_check.hpp"
#include "direct/case_report.hpp"
#include "direct/case_solutions.hpp"
#include "direct/outage_table.hpp"
#include "direct/single_area.hpp"
#include "direct/two_area.hpp"
#include "driver/interrupts.hpp"
#include "driver/options.hpp"
#include "model/load_cases.hpp"
#include "model/load_dialog.hpp"
#include "model/loads.hpp"
#include "montecarlo/independent/run.hpp"
#include "montecarlo/reporting/progress.hpp"
#include "montecarlo/simulation.hpp"
#include "report/clock.hpp"
#include "report/console_input.hpp"
#include "report/fatal.hpp"
#include "report/free_format.hpp"
#include "report/report_file.hpp"
#include "results/json.hpp"
#include "results/recorder.hpp"

namespace adequacy {
namespace {

// Everything a run keeps from start to end, allocated once. The load
// parameters and the ATC rows start as the system's and are working copies
// that the dialogs replace.
struct Session {
    explicit Session(const StudySystem& system)
        : system(system),
          varies(system.varyingKey() != nullptr),
          units(unitTypesOf(system)),
          loadParameters(system.loadParameters),
          loadShape(system.loadShape),
          hourlyLoads(system.hourlyLoads ? &*system.hourlyLoads : nullptr),
          atc(system.atc) {}

    const StudySystem& system;
    // A system whose years differ is solved case by case (load_cases.hpp);
    // `loads` is then its first weather year at the forecast.
    bool varies;
    LoadCases cases;
    ServiceTables service;
    Options options;
    std::string systemSource;
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
    std::unique_ptr<results::Recorder> results;  // only with a results file
};

// Each command-line answer takes the place of the console line at its
// prompt; a dialog's next prompt then gets a blank line, so that the dialog
// goes on with the values the answer set.
report::ConsoleInput scriptedInput(const Options& options) {
    report::ConsoleInput input;
    auto script = [&input](report::Prompt prompt, const std::optional<std::string>& answer,
                           bool thenBlank, const char* option) {
        report::ScriptedLines& scripted = input.scripted[static_cast<std::size_t>(prompt)];
        scripted.source = std::string("answer of ") + option;
        if (!answer) return;
        scripted.lines = {*answer};
        if (thenBlank) scripted.lines.emplace_back();
    };
    script(report::Prompt::loadParameters, options.loadAnswer, true, "--load");
    script(report::Prompt::atcTable, options.atcAnswer, true, "--atc");
    script(report::Prompt::years, options.yearsAnswer, false, "--years");
    input.unattended = options.yearsAnswer.has_value();
    return input;
}

void openReport(Session& session) {
    const std::string& path = session.options.reportPath;
    session.reportFile = report::openReportFile(path, "report file " + path);
    report::registerReportChannel(&session.reportFile);
}

[[noreturn]] void endSequence(Session& session, int status) {
    report::flush(session.reportFile);
    report::writeFree(session.console, {" "});
    const std::string fileLine =
        "FILE " + session.options.reportPath + " CONTAINS THE OUTPUT REPORT";
    report::writeFree(session.console, {std::string_view(fileLine)});
    report::writeFree(session.console, {"PRESS ENTER TO END THIS PROGRAM"});
    report::readClosingAnswer(session.input);
    report::endProgram(status);
}

std::optional<std::string_view> loadsFile(const Session& s) {
    if (s.hourlyLoads == nullptr) return std::nullopt;
    return s.hourlyLoads->path;
}

// The single-area solution of every case, reported as the system's.
void solveSingleAreaCases(Session& s) {
    computeLoadCases(s.system, s.loadParameters, s.cases);
    forecastLoads(s.system, s.loadParameters, 0, s.loads);
    const CaseIndices solved = solveSingleAreaCases(s.service, s.cases, s.mttrFactor);
    reportSingleArea(s.tables, s.loads, s.loadParameters, solved.mean, s.cpuMark, s.console,
                     s.reportFile, loadsFile(s));
    for (report::Channel* channel : {&s.reportFile, &s.console})
        writeWeatherYears(*channel, "SINGLE AREA", solved, s.cases.weatherWeights);
    if (!s.results) return;
    results::recordSingleArea(*s.results, s.tables, s.loads,
                              s.hourlyLoads ? nullptr : &s.loadParameters, solved.mean);
    results::recordSingleAreaCases(*s.results, solved, s.cases.weatherWeights);
}

// Loads and single-area solution, repeated for every new set of parameters.
// Loads given hour by hour have no parameters to change: no dialog.
DialogOutcome singleAreaPhase(Session& s) {
    while (true) {
        if (s.varies) {
            solveSingleAreaCases(s);
        } else {
            if (s.hourlyLoads != nullptr) {
                setHourlyLoads(s.hourlyLoads->total, s.hourlyLoads->area1, s.loads);
            } else {
                computeHourlyLoads(s.loadParameters, s.loadShape, s.loads);
            }
            AnnualIndices indices = computeSingleArea(s.tables, s.loads, s.mttrFactor);
            reportSingleArea(s.tables, s.loads, s.loadParameters, indices, s.cpuMark, s.console,
                             s.reportFile, loadsFile(s));
            if (s.results)
                results::recordSingleArea(*s.results, s.tables, s.loads,
                                          s.hourlyLoads ? nullptr : &s.loadParameters, indices);
        }
        report::flush(s.reportFile);
        if (s.hourlyLoads != nullptr) return DialogOutcome::proceed;
        DialogOutcome outcome = runLoadDialog(s.loadParameters, s.console, s.input);
        if (outcome != DialogOutcome::repeat) return outcome;
    }
}

void recordTwoAreaPass(results::Recorder& recorder, const Session& s,
                       const TwoAreaIndices* solved) {
    // A varying system's exact area-1 figures are solved over every case.
    results::recordTwoArea(recorder, s.tables, s.loads, s.atc, solved ? &solved->area1 : nullptr,
                           solved ? &solved->area0 : nullptr, !s.varies);
}

// Both areas' solutions of every case, reported as the system's.
void solveTwoAreaCases(Session& s, TwoAreaIndices& solved) {
    std::array<CaseIndices, 2> byArea;
    const AreaSolver solver = [&s, &byArea](ReceivingArea area) {
        CaseIndices& cases = byArea[area == ReceivingArea::area1 ? 0 : 1];
        cases = solveTwoAreaCases(area, s.service, s.cases, s.atc, s.mttrFactor);
        return cases.mean;
    };
    s.area1EnergyDemand = solveTwoAreas(s.tables, s.loads, s.atc, s.mttrFactor, s.cpuMark,
                                        s.console, s.reportFile, &solved, solver);
    for (report::Channel* channel : {&s.reportFile, &s.console}) {
        writeWeatherYears(*channel, "AREA 1", byArea[0], s.cases.weatherWeights);
        writeWeatherYears(*channel, "AREA 0", byArea[1], s.cases.weatherWeights);
    }
    if (!s.results) return;
    recordTwoAreaPass(*s.results, s, &solved);
    results::recordTwoAreaCases(*s.results, byArea[0], byArea[1], s.cases.weatherWeights,
                                solveArea1AsSimulatedCases(s.service, s.cases, s.atc));
}

// ATC table and two-area solution, repeated for every new table.
DialogOutcome twoAreaPhase(Session& s) {
    while (true) {
        const bool valid = printAndCheckAtcTable(s.atc, s.console, s.reportFile);
        TwoAreaIndices solved;
        if (valid && s.varies) {
            solveTwoAreaCases(s, solved);
        } else {
            if (valid)
                s.area1EnergyDemand = solveTwoAreas(s.tables, s.loads, s.atc, s.mttrFactor,
                                                    s.cpuMark, s.console, s.reportFile, &solved);
            if (s.results) recordTwoAreaPass(*s.results, s, valid ? &solved : nullptr);
            // A refused table has no solutions, but area 1 as simulated
            // stands for the simulation that may follow: over every case.
            if (s.results && s.varies)
                results::recordTwoAreaCases(*s.results, {}, {}, s.cases.weatherWeights,
                                            solveArea1AsSimulatedCases(s.service, s.cases, s.atc));
        }
        report::flush(s.reportFile);
        DialogOutcome outcome = runAtcDialog(s.atc, s.console, s.input);
        if (outcome != DialogOutcome::repeat) return outcome;
    }
}

int threadCount(const Options& options) {
    if (options.threads > 0) return options.threads;
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

[[noreturn]] void simulationPhase(Session& s) {
    SimulationContext context{s.units,
                              s.loads,
                              s.atc,
                              s.tables.generationMttr,
                              s.area1EnergyDemand,
                              s.cpuMark,
                              s.options.seed,
                              !s.options.quiet,
                              s.results.get(),
                              s.options.firstYear};
    if (s.varies) {
        context.cases = &s.cases;
        context.maintenance = s.system.maintenance;
        context.weatherInTurn = s.options.weatherOrder == Options::WeatherOrder::inTurn;
    }
    const SimulationOutcome outcome =
        s.options.engine == Options::Engine::independent
            ? independent::runIndependent(context, threadCount(s.options), s.console, s.reportFile,
                                          s.input)
            : runSimulation(context, s.console, s.reportFile, s.input);
    switch (outcome) {
        case SimulationOutcome::finished:
            endSequence(s, report::exitNormal);
        case SimulationOutcome::belowMinimumYears:
            report::endProgram(report::exitNormal);
        case SimulationOutcome::cannotBeHere:
            report::endProgram(report::exitAnalysisStopped);
    }
    report::endProgram(report::exitAnalysisStopped);
}

void startResults(Session& s, const std::string& path) {
    s.results = std::make_unique<results::Recorder>();
    s.results->file.open(path);
}

results::VariationInfo variationInfo(const StudySystem& system, const LoadCases& cases) {
    results::VariationInfo info;
    for (const VariableResource& r : system.variables) {
        double sum = 0.0;
        double peak = 0.0;
        for (float mw : r.mw) {
            sum += mw;
            peak = std::max(peak, static_cast<double>(mw));
        }
        info.variables.push_back(
            {r.name, r.area, r.path, sum / static_cast<double>(r.mw.size()), peak});
    }
    info.weatherWeights = cases.weatherWeights;
    info.forecastSteps = cases.steps;
    info.maintenance = system.maintenance;
    return info;
}

// Sizes the cases and builds the tables of the units in service.
void prepareCases(Session& s) {
    sizeLoadCases(s.system, s.cases);
    buildServiceTables(s.units, s.tables, s.system.maintenance, s.service);
    for (report::Channel* channel : {&s.reportFile, &s.console})
        writeVariationLines(*channel, s.system, s.cases);
    if (s.results) s.results->results.variation = variationInfo(s.system, s.cases);
}

// A system that varies from year to year is simulated by the independent
// engine alone: the classic one follows one year of loads with every unit
// in service.
bool refusedForEngine(const Options& options, const StudySystem& system) {
    const char* key = system.varyingKey();
    if (key == nullptr || options.engine == Options::Engine::independent) return false;
    std::fprintf(stderr,
                 "adequacy: %s: %s: the classic engine simulates one year of loads with every "
                 "unit in service; run this system with --engine independent\n",
                 system.source.c_str(), key);
    return true;
}

// The system reader counts the rows; this guards the arrays.
bool wholeWeatherYears(const StudySystem& system) {
    if (!system.hourlyLoads) return true;
    const std::size_t rows = system.hourlyLoads->total.size();
    return rows > 0 && rows % hoursPerYear == 0 && system.hourlyLoads->area1.size() == rows;
}

}  // namespace

int runProgram(const Options& options, const StudySystem& system) {
    if (refusedForEngine(options, system)) return usageErrorStatus;
    if (!wholeWeatherYears(system)) {
        // The system reader counts the rows; this guards the arrays.
        std::fprintf(stderr, "adequacy: %s: not a year of %d hourly loads\n",
                     system.hourlyLoads->path.c_str(), hoursPerYear);
        return report::exitIoError;  // as every error of a system file, before OP
    }
    auto session = std::make_unique<Session>(system);
    session->options = options;
    session->systemSource = system.source;
    session->input = scriptedInput(options);
    Session& s = *session;
    if (options.jsonPath) {
        results::checkResultsDirectory(*options.jsonPath);
        startResults(s, *options.jsonPath);
    }
    installInterruptHandlers();
    wantProgress(!options.quiet);
    openReport(s);
    s.cpuMark = report::processorSeconds();
    if (buildCapacityTables(s.units, s.tables, s.console) == BuildOutcome::invalidUnit)
        endSequence(s, report::exitAnalysisStopped);
    s.mttrFactor = computeMttrFactor(s.tables.generationMttr);
    if (s.results)
        s.results->results.system =
            results::systemInfo(s.systemSource, s.units.unitCount(), s.tables);
    if (s.varies) prepareCases(s);
    const DialogOutcome singleArea = singleAreaPhase(s);
    if (s.results) results::writeResults(*s.results);
    if (singleArea == DialogOutcome::inputError) endSequence(s, report::exitAnalysisStopped);
    const DialogOutcome twoArea = twoAreaPhase(s);
    if (s.results) results::writeResults(*s.results);
    if (twoArea == DialogOutcome::inputError) endSequence(s, report::exitAnalysisStopped);
    simulationPhase(s);
}

}  // namespace adequacy
