#pragma once
// Numeric and text fields of a fixed width. A value that does not fit, or
// is not finite, fills its field with asterisks.

#include <string>
#include <string_view>

namespace adequacy::report {

std::string formatF(double value, int width, int decimals);
std::string formatI(long long value, int width);
// The integer part of a real (truncated toward zero) in an I field, however
// large: asterisks when it does not fit.
std::string formatIntegerPart(double value, int width);
std::string formatA(std::string_view text, int width);

}  // namespace adequacy::report
