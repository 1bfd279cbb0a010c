#include "driver/unattended_answers.hpp"

#include <charconv>
#include <cmath>
#include <memory>

#include "direct/atc_check.hpp"
#include "model/load_check.hpp"
#include "model/load_dialog.hpp"
#include "montecarlo/independent/run.hpp"
#include "report/console_input.hpp"
#include "report/list_input.hpp"

namespace adequacy {
namespace {

std::string quoted(std::string_view text) {
    std::string q(1, '"');
    q.append(text).push_back('"');
    return q;
}

bool goesBeyond(std::string_view answer, std::size_t columns) {
    return answer.size() > columns && !report::isBlank(answer.substr(columns));
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return "";
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string loadCountFault(const std::string& typed, report::ListOutcome outcome) {
    if (outcome == report::ListOutcome::endOfInput) return missingLoadValues(typed);
    const long long given = report::countListItems(typed);
    if (given > 7) return std::to_string(given) + " values given; only 7 are read (D1 to D7)";
    return "";
}

std::string loadAnswerFault(const std::string& answer, const StudySystem& system) {
    if (system.hourlyLoads)
        return "the system's loads are given hour by hour (" + system.hourlyLoads->path +
               "): there are no load parameters to set";
    if (goesBeyond(answer, report::inputLineLength))
        return "only the first 100 characters are read, and the answer goes on beyond them";
    const std::string typed = report::fitInputLine(answer);
    if (report::isBlank(typed)) return "";
    LoadParameters parameters = system.loadParameters;
    const report::ListOutcome outcome = readLoadAnswer(typed, parameters);
    // An unreadable answer ends the run at its prompt, as typed.
    if (outcome == report::ListOutcome::conversionError) return "";
    if (std::string fault = loadCountFault(typed, outcome); !fault.empty()) return fault;
    for (std::size_t i = 0; i < parameters.d.size(); ++i)
        if (!std::isfinite(parameters.d[i]))
            return std::string(1, 'D').append(std::to_string(i + 1)) +
                   " is beyond single precision";
    auto loads = std::make_unique<HourlyLoads>();
    computeHourlyLoads(parameters, system.loadShape, *loads);
    const std::string fault = loadFault(*loads);
    return fault.empty() ? "" : "these parameters give " + fault;
}

std::string atcValuesFault(const AtcTable& table) {
    for (std::size_t r = 0; r < atcEnteredRows; ++r) {
        const std::string row = "row " + std::to_string(r + 1);
        if (!std::isfinite(table.mw[r]) || !std::isfinite(table.probability[r]))
            return row + " holds a value beyond single precision";
        if (table.probability[r] < 0.0f) return row + " has a probability below 0";
    }
    const AtcResidues residues = atcResidues(table);
    if (residues.importZero < 0.0f)
        return "the import rows' (MW above 0) probabilities add up to more than 1";
    if (residues.exportZero < 0.0f)
        return "the export rows' (MW below 0) probabilities add up to more than 1";
    return firstRowFault(table);
}

std::string atcAnswerFault(const std::string& answer, const AtcTable& systemTable) {
    if (goesBeyond(answer, atcTypedColumns))
        return "only the first 60 characters are read, and the answer goes on beyond them";
    const std::string prepared = prepareAtcAnswer(report::fitInputLine(answer));
    if (isBlankAtcAnswer(prepared)) return "";
    const std::string_view typed = std::string_view(prepared).substr(0, atcTypedColumns);
    if (const long long given = report::countListItems(typed); given > 2 * atcEnteredRows)
        return std::to_string(given) +
               " values given; only 20 are read (10 rows of MW and "
               "probability)";
    AtcTable table = systemTable;
    if (readAtcAnswer(prepared, table) == report::ListOutcome::conversionError) return "";
    return atcValuesFault(table);
}

std::string yearsAnswerFault(const std::string& answer) {
    const std::string text = trimmed(answer);
    std::size_t digits = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
    const bool plain =
        digits < text.size() && text.find_first_not_of("0123456789", digits) == std::string::npos;
    if (!plain) return quoted(answer) + " is not a whole number written in digits, as 100000";
    int years = 0;
    const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
    if (std::from_chars(begin, text.data() + text.size(), years).ec != std::errc{})
        return text + " is out of range (at most 2147483647)";
    return "";
}

std::string independentYearsFault(const Options& options) {
    if (options.engine != Options::Engine::independent) return "";
    int years = 0;
    const std::string text = trimmed(*options.yearsAnswer);
    std::from_chars(text.data() + (text[0] == '+' ? 1 : 0), text.data() + text.size(), years);
    if (years <= independent::maxIndependentYears) return "";
    return "the independent engine simulates at most 10000000 years a run; put longer runs "
           "together from runs of disjoint years (--first-year, adequacy merge)";
}

std::string named(const char* option, const std::string& fault) {
    return fault.empty() ? "" : std::string(option) + ": " + fault;
}

}  // namespace

std::string unattendedAnswerFault(const Options& options, const StudySystem& system) {
    if (options.loadAnswer) {
        if (std::string fault = named("--load", loadAnswerFault(*options.loadAnswer, system));
            !fault.empty())
            return fault;
    }
    if (options.atcAnswer) {
        if (std::string fault = named("--atc", atcAnswerFault(*options.atcAnswer, system.atc));
            !fault.empty())
            return fault;
    }
    if (!options.yearsAnswer) return "";
    if (std::string fault = yearsAnswerFault(*options.yearsAnswer); !fault.empty())
        return named("--years", fault);
    return named("--years", independentYearsFault(options));
    return "";
}

}  // namespace adequacy
