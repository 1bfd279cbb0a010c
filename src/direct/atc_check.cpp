#include "direct/atc_check.hpp"

#include <array>
#include <cmath>

#include "model/numeric.hpp"
#include "report/free_format.hpp"
#include "report/layout.hpp"
#include "report/unreadable_answer.hpp"

namespace adequacy {
namespace {

constexpr float residueTolerance = 1.0e-6f;
constexpr std::string_view appendedZeros = ",0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0";
constexpr std::size_t typedColumns = atcTypedColumns;

// Both channels receive the line, the report first.
void writeBoth(report::Channel& reportFile, report::Channel& console,
               std::initializer_list<report::Value> values) {
    report::writeFree(reportFile, values);
    report::writeFree(console, values);
}

float subtract(float residue, float probability) {
    return static_cast<float>(static_cast<double>(residue) - probability);
}

float withinTolerance(float residue) {
    return std::fabs(residue) < residueTolerance ? 0.0f : residue;
}

}  // namespace

AtcResidues atcResidues(const AtcTable& table) {
    float importZero = 1.0f;
    float exportZero = 1.0f;
    for (std::size_t r = 0; r < atcEnteredRows; ++r) {
        if (table.mw[r] > 0.0f) importZero = subtract(importZero, table.probability[r]);
        if (table.mw[r] < 0.0f) exportZero = subtract(exportZero, table.probability[r]);
    }
    return {withinTolerance(importZero), withinTolerance(exportZero)};
}

bool setAtcResidues(AtcTable& table) {
    const auto [importZero, exportZero] = atcResidues(table);
    table.probability[atcZeroImportRow - 1] = importZero;
    table.probability[atcZeroExportRow - 1] = exportZero;
    return importZero >= 0.0f && exportZero >= 0.0f;
}

std::string firstRowFault(const AtcTable& table) {
    auto importRow = [&table](std::size_t r) {
        return table.mw[r] > 0.0f && table.probability[r] > 0.0f;
    };
    bool anyImport = false;
    for (std::size_t r = 0; r < atcEnteredRows; ++r) anyImport = anyImport || importRow(r);
    if (!anyImport || importRow(0)) return "";
    return "the first row must be an import row (MW above 0) with a probability above 0: the "
           "simulated tie spends its normal hours in row 1, whatever it holds";
}

bool printAndCheckAtcTable(AtcTable& table, report::Channel& console, report::Channel& reportFile) {
    report::writeFree(reportFile, {" "});
    writeBoth(reportFile, console, {"2 AREA INTERCONNECTION"});
    writeBoth(reportFile, console, {"+MW=IMPORT -MW=EXPORT"});
    writeBoth(reportFile, console, {"   ATCMW   PROBLTY"});
    for (std::size_t r = 0; r < atcEnteredRows; ++r) {
        float mw = table.mw[r];
        if (mw != 0.0f) {
            for (report::Channel* channel : {&reportFile, &console})
                report::write(*channel, "(I8,F11.5)", {truncateToInt(mw), table.probability[r]});
        }
    }
    setAtcResidues(table);
    const float importZero = table.probability[atcZeroImportRow - 1];
    const float exportZero = table.probability[atcZeroExportRow - 1];
    if (importZero < 0.0f) {
        report::writeFree(reportFile, {"WARNING, ATC IMPORT PROBABILITY ERROR, TRY AGAIN"});
        return false;
    }
    if (exportZero < 0.0f) {
        report::writeFree(reportFile, {"WARNING, ATC EXPORT PROBABILITY ERROR, TRY AGAIN"});
        return false;
    }
    for (report::Channel* channel : {&reportFile, &console})
        report::write(*channel, "(A8,F11.5)", {"      +0", importZero});
    for (report::Channel* channel : {&reportFile, &console})
        report::write(*channel, "(A8,F11.5)", {"      -0", exportZero});
    return true;
}

report::ListOutcome readAtcAnswer(std::string_view answer, AtcTable& table) {
    std::array<float*, 2 * atcEnteredRows> items{};
    for (std::size_t r = 0; r < atcEnteredRows; ++r) {
        items[2 * r] = &table.mw[r];
        items[2 * r + 1] = &table.probability[r];
    }
    return report::readReals(answer, items);
}

std::string prepareAtcAnswer(std::string inputLine) {
    inputLine.resize(typedColumns, ' ');
    inputLine.append(appendedZeros);
    return inputLine;
}

bool isBlankAtcAnswer(std::string_view prepared) {
    return report::isBlank(prepared.substr(0, typedColumns));
}

DialogOutcome runAtcDialog(AtcTable& table, report::Channel& console, report::ConsoleInput& input) {
    report::writeFree(console, {"ENTER NEW ATC MW,PR PAIRS OR RETURN TO CONTINUE"});
    std::string inputLine = prepareAtcAnswer(report::readLine(input, report::Prompt::atcTable));
    if (isBlankAtcAnswer(inputLine)) return DialogOutcome::proceed;
    switch (readAtcAnswer(inputLine, table)) {
        case report::ListOutcome::complete:
        case report::ListOutcome::slash:
            return DialogOutcome::repeat;
        case report::ListOutcome::conversionError:
        case report::ListOutcome::endOfInput:
            break;
    }
    report::explainUnreadableAnswer("ATC pairs",
                                    std::string_view(inputLine).substr(0, typedColumns));
    return DialogOutcome::inputError;
}

}  // namespace adequacy
