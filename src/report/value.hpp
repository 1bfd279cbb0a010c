#pragma once
// One value handed to a layout or free-format write.

#include <string_view>

namespace adequacy::report {

struct Value {
    enum class Kind { real, integer, text };
    Kind kind;
    double real = 0.0;
    long long integer = 0;
    std::string_view text;

    Value(double v) : kind(Kind::real), real(v) {}
    Value(float v) : kind(Kind::real), real(v) {}
    Value(int v) : kind(Kind::integer), integer(v) {}
    Value(long long v) : kind(Kind::integer), integer(v) {}
    Value(const char* v) : kind(Kind::text), text(v) {}
    Value(std::string_view v) : kind(Kind::text), text(v) {}
};

}  // namespace adequacy::report
