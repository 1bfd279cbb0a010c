#pragma once
// Writing through a layout: a parenthesised list of items
//   'text'  Fw.d  Iw  Aw  nX  /  n(...)  rFw.d  rIw
// e.g. write(report, "(/,' TIME =',F10.3,' SEC',/)", {seconds}).
// When a field is reached and no value is left, output stops there. An Iw
// field given a real shows its integer part (truncated toward zero).

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "report/channel.hpp"
#include "report/value.hpp"

namespace adequacy::report {

// The records a layout renders to, without line ends.
std::vector<std::string> renderLayout(std::string_view layout, std::initializer_list<Value> values);

void write(Channel& channel, std::string_view layout, std::initializer_list<Value> values = {});

}  // namespace adequacy::report
