#include "report/unreadable_answer.hpp"

#include <cstdio>

namespace adequacy::report {

std::string unreadableAnswerLine(std::string_view prompt, std::string_view answer) {
    answer = answer.substr(0, answer.find_last_not_of(' ') + 1);
    std::string line = "adequacy: ";
    line.append(prompt).append(": cannot read \"");
    for (char c : answer) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            static constexpr char hex[] = "0123456789abcdef";
            line.append("\\x").push_back(hex[byte >> 4]);
            line.push_back(hex[byte & 0xf]);
        } else {
            line.push_back(c);
        }
    }
    return line.append("\" as numbers\n");
}

void explainUnreadableAnswer(std::string_view prompt, std::string_view answer) {
    std::fputs(unreadableAnswerLine(prompt, answer).c_str(), stderr);
}

}  // namespace adequacy::report
