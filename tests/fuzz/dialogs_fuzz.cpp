// Any answers at the two dialogs, each followed through the passes that it
// calls for: the first line of the input is the load-parameter answer, the
// second the ATC answer. A readable load answer recomputes the loads and the
// single-area solution; a readable ATC answer prints and checks the new table,
// solves both areas when it passes and sets up the simulation's tie with it.

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "direct/atc_check.hpp"
#include "direct/outage_table.hpp"
#include "direct/single_area.hpp"
#include "direct/two_area.hpp"
#include "model/load_dialog.hpp"
#include "model/loads.hpp"
#include "montecarlo/tie.hpp"
#include "report/channel.hpp"
#include "report/console_input.hpp"
#include "report/list_input.hpp"

namespace {

using namespace adequacy;

void require(bool condition) {
    if (!condition) __builtin_trap();
}

// The tables are built once per run of the program, and so once here.
struct System {
    CapacityTables tables;
    float mttrFactor = 0.0f;
};

const System& builtInSystem() {
    static const System* system = [] {
        auto* built = new System;
        report::Channel console = report::captureChannel("console");
        require(buildCapacityTables(builtInUnitTypes(), built->tables, console) ==
                BuildOutcome::built);
        built->mttrFactor = computeMttrFactor(built->tables.generationMttr);
        return built;
    }();
    return *system;
}

// The next console line of the input, without its line end; false at the end.
bool nextLine(std::string_view& input, std::string& line) {
    if (input.empty()) return false;
    std::size_t end = input.find('\n');
    line.assign(input.substr(0, end));
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    return true;
}

bool readable(report::ListOutcome outcome) {
    return outcome == report::ListOutcome::complete || outcome == report::ListOutcome::slash;
}

void runTie(const AtcTable& atc) {
    TieState tie{};
    TransitionProbabilities probabilities{};
    setUpTie(atc, tie, probabilities);
    std::uint32_t seed = 3;
    for (int hour = 0; hour < 1000; ++hour) {
        if (!advanceTie(atc, probabilities, tie, seed)) break;
        require(tie.atcState >= 1 && tie.atcState <= atcTieStates);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const System& system = builtInSystem();
    std::string_view input(reinterpret_cast<const char*>(data), size);
    report::Channel console = report::captureChannel("console");
    report::Channel reportFile = report::captureChannel("report file OP");
    float cpuMark = 0.0f;

    std::string line;
    if (!nextLine(input, line)) return 0;
    LoadParameters parameters = builtInLoadParameters();
    auto loads = std::make_unique<HourlyLoads>();
    std::string loadAnswer = report::fitInputLine(line);
    bool newParameters = !report::isBlank(loadAnswer);
    if (newParameters && !readable(readLoadAnswer(loadAnswer, parameters))) return 0;
    computeHourlyLoads(parameters, *loads);
    if (newParameters) {
        AnnualIndices indices = computeSingleArea(system.tables, *loads, system.mttrFactor);
        reportSingleArea(system.tables, *loads, parameters, indices, cpuMark, console, reportFile);
    }

    if (!nextLine(input, line)) return 0;
    AtcTable atc = builtInAtcTable();
    std::string atcAnswer = prepareAtcAnswer(report::fitInputLine(line));
    require(atcAnswer.size() == 100);
    if (isBlankAtcAnswer(atcAnswer)) return 0;
    report::ListOutcome outcome = readAtcAnswer(atcAnswer, atc);
    // The appended zeros supply every value the answer leaves out.
    require(outcome != report::ListOutcome::endOfInput);
    if (!readable(outcome)) return 0;
    if (printAndCheckAtcTable(atc, console, reportFile))
        solveTwoAreas(system.tables, *loads, atc, system.mttrFactor, cpuMark, console, reportFile);
    runTie(atc);
    return 0;
}
