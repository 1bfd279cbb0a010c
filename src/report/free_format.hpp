#pragma once
// Free-format output: a leading blank, texts written whole, integers in 12
// columns, one blank between a number and a following text.

#include <initializer_list>
#include <string>

#include "report/channel.hpp"
#include "report/value.hpp"

namespace adequacy::report {

std::string renderFree(std::initializer_list<Value> values);
void writeFree(Channel& channel, std::initializer_list<Value> values = {});

}  // namespace adequacy::report
