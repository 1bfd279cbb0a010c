#include "report/unreadable_answer.hpp"

#include <cstdio>

#include "report/escaped_text.hpp"

namespace adequacy::report {

std::string unreadableAnswerLine(std::string_view prompt, std::string_view answer) {
    answer = answer.substr(0, answer.find_last_not_of(' ') + 1);
    std::string line = "adequacy: ";
    line.append(prompt).append(": cannot read \"").append(withControlsEscaped(answer));
    return line.append("\" as numbers\n");
}

void explainUnreadableAnswer(std::string_view prompt, std::string_view answer) {
    std::fputs(unreadableAnswerLine(prompt, answer).c_str(), stderr);
}

}  // namespace adequacy::report
