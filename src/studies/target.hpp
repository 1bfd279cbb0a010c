#pragma once
// The reliability target of a capacity study: one index and the value it
// must not exceed.

#include <string>
#include <string_view>
#include <variant>

namespace adequacy::studies {

enum class StudyIndex { lole, lolh, eue, ppm };

struct Target {
    StudyIndex index = StudyIndex::lole;
    double value = 0.1;  // one day in ten years at each day's peak hour
};

// The figures of a direct solution that a target can name.
struct StudyFigures {
    double lole = 0.0;  // days a year, at each day's peak hour
    double lolh = 0.0;  // hours a year
    double mwhEue = 0.0;
    double eueppm = 0.0;
};

double valueOf(const StudyFigures& figures, StudyIndex index);

// Unserved energy in parts per million of the demand; a year whose loads
// demand nothing has nothing unserved.
inline double partsPerMillion(double mwhEue, double demand) {
    return demand > 0.0 ? mwhEue / demand * 1000000.0 : 0.0;
}

std::string_view nameOf(StudyIndex index);   // as --target writes it: "lole", ...
std::string_view titleOf(StudyIndex index);  // as a summary names it: "LOLE", ...
std::string_view unitOf(StudyIndex index);   // "days a year", ...

// "INDEX=VALUE", as --target takes it, or one line saying what is wrong.
std::variant<Target, std::string> parseTarget(std::string_view text);

}  // namespace adequacy::studies
