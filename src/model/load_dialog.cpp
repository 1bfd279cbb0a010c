#include "model/load_dialog.hpp"

#include <array>

#include "report/fatal.hpp"
#include "report/free_format.hpp"
#include "report/unreadable_answer.hpp"

namespace adequacy {

report::ListOutcome readLoadAnswer(std::string_view answer, LoadParameters& parameters) {
    std::array<float*, 7> items{};
    for (std::size_t i = 0; i < items.size(); ++i) items[i] = &parameters.d[i];
    return report::readReals(answer, items);
}

std::string missingLoadValues(std::string_view answer) {
    const std::size_t first = answer.find_first_not_of(" \t");
    const std::size_t last = answer.find_last_not_of(" \t");
    std::string typed(first == std::string_view::npos ? ""
                                                      : answer.substr(first, last - first + 1));
    std::string message = std::to_string(report::countListItems(answer));
    message.append(
        " of 7 values given and no slash: end the answer with a slash to keep the "
        "rest, as in \"");
    return message.append(typed).append("/\"");
}

DialogOutcome runLoadDialog(LoadParameters& parameters, report::Channel& console,
                            report::ConsoleInput& input) {
    report::writeFree(console, {"ENTER NEW D1,D2,D3,D4 total area, D5,D6,D7 area 1"});
    report::writeFree(console, {"OR RETURN TO CONTINUE"});
    std::string inputLine = report::readLine(input, report::Prompt::loadParameters);
    if (report::isBlank(inputLine)) return DialogOutcome::proceed;
    switch (readLoadAnswer(inputLine, parameters)) {
        case report::ListOutcome::complete:
        case report::ListOutcome::slash:
            return DialogOutcome::repeat;
        case report::ListOutcome::conversionError:
            report::explainUnreadableAnswer("load parameters", inputLine);
            return DialogOutcome::inputError;
        case report::ListOutcome::endOfInput:
            break;
    }
    report::fatalIoError("internal file (load parameter answer)",
                         "end of input: " + missingLoadValues(inputLine));
}

}  // namespace adequacy
