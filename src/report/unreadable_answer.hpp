#pragma once
// Why a run ended early: a dialog answer that could not be read ends the run
// through the end sequence, which says nothing of the reason, so one line on
// standard error names the prompt and quotes the answer.

#include <string>
#include <string_view>

namespace adequacy::report {

// `adequacy: <prompt>: cannot read "<answer>" as numbers`, the answer without
// its trailing blanks and with control characters written as \xNN.
std::string unreadableAnswerLine(std::string_view prompt, std::string_view answer);

void explainUnreadableAnswer(std::string_view prompt, std::string_view answer);

}  // namespace adequacy::report
