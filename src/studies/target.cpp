#include "studies/target.hpp"

#include <array>
#include <charconv>
#include <cmath>

#include "model/system_data.hpp"

namespace adequacy::studies {
namespace {

struct IndexInfo {
    StudyIndex index;
    std::string_view name;
    std::string_view title;
    std::string_view unit;
    // Every load carries less: a day's peak hour, an hour, the whole demand
    // short at once. Unserved energy has no such bound.
    double ceiling;
};

constexpr std::array<IndexInfo, 4> indices{{
    {StudyIndex::lole, "lole", "LOLE", "days a year", static_cast<double>(daysPerYear)},
    {StudyIndex::lolh, "lolh", "LOLH", "hours a year", static_cast<double>(hoursPerYear)},
    {StudyIndex::eue, "eue", "unserved energy", "MWh a year", HUGE_VAL},
    {StudyIndex::ppm, "ppm", "unserved energy", "ppm of the demand", 1e6},
}};

const IndexInfo& infoOf(StudyIndex index) { return indices[static_cast<std::size_t>(index)]; }

std::string decimal(double value) {
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return std::string(text.data(), end);
}

}  // namespace

double valueOf(const StudyFigures& figures, StudyIndex index) {
    switch (index) {
        case StudyIndex::lole:
            return figures.lole;
        case StudyIndex::lolh:
            return figures.lolh;
        case StudyIndex::eue:
            return figures.mwhEue;
        case StudyIndex::ppm:
            return figures.eueppm;
    }
    return figures.lole;
}

std::string_view nameOf(StudyIndex index) { return infoOf(index).name; }
std::string_view titleOf(StudyIndex index) { return infoOf(index).title; }
std::string_view unitOf(StudyIndex index) { return infoOf(index).unit; }

std::variant<Target, std::string> parseTarget(std::string_view text) {
    const std::size_t equals = text.find('=');
    const std::string_view name = text.substr(0, equals);
    const IndexInfo* info = nullptr;
    for (const IndexInfo& candidate : indices)
        if (candidate.name == name) info = &candidate;
    if (equals == std::string_view::npos || info == nullptr)
        return std::string("not INDEX=VALUE with INDEX one of lole, lolh, eue, ppm");
    const std::string_view written = text.substr(equals + 1);
    double value = 0.0;
    const auto [stop, error] = std::from_chars(written.data(), written.data() + written.size(),
                                               value, std::chars_format::general);
    if (written.empty() || error != std::errc{} || stop != written.data() + written.size() ||
        !std::isfinite(value))
        return std::string(name).append(": the value is not a number");
    if (!(value > 0.0 && value < info->ceiling)) {
        std::string fault = std::string(name).append(": must be above 0");
        if (std::isfinite(info->ceiling))
            fault.append(" and below ").append(decimal(info->ceiling));
        return fault.append(" ").append(info->unit);
    }
    return Target{info->index, value};
}

}  // namespace adequacy::studies
