#include "direct/case_report.hpp"

#include <string>

#include "report/free_format.hpp"
#include "report/layout.hpp"

namespace adequacy {
namespace {

constexpr std::string_view yearLine = "(I6,F10.5,F12.5,F11.5,F14.3,F11.4)";

void writeYear(report::Channel& channel, int year, double weight, const AnnualIndices& i) {
    report::write(channel, yearLine, {year, weight, i.lolh, i.lole, i.mwhEue, i.puEueppm});
}

}  // namespace

void writeVariationLines(report::Channel& channel, const StudySystem& system,
                         const LoadCases& cases) {
    report::writeFree(channel, {" "});
    report::write(channel, "(' WEATHER YEARS =',I4,'   FORECAST STEPS =',I3,'   SD % =',F7.3)",
                  {cases.weatherYears, cases.stepCount(),
                   system.forecast ? system.forecast->sdPercent : 0.0});
    for (const VariableResource& resource : system.variables) {
        std::string line = "VARIABLE ";
        line.append(resource.name).append(" IN AREA ").append(std::to_string(resource.area));
        line.append(" FROM ").append(resource.path);
        report::writeFree(channel, {std::string_view(line)});
    }
    for (const MaintenanceWindow& window : system.maintenance)
        report::write(channel, "(' MAINTENANCE OF UNIT',I7,' FROM DAY',I4,' TO DAY',I4)",
                      {window.unit + 1, window.firstDay, window.lastDay});
}

void writeWeatherYears(report::Channel& channel, std::string_view title, const CaseIndices& cases,
                       std::span<const double> weights) {
    std::string heading = " ";
    heading.append(title).append(" BY WEATHER YEAR");
    report::writeFree(channel, {" "});
    report::writeFree(channel, {std::string_view(heading)});
    report::writeFree(channel,
                      {"  YEAR    WEIGHT        LOLH       LOLE        MWHEUE  PUEUE PPM"});
    for (std::size_t w = 0; w < cases.byWeatherYear.size(); ++w)
        writeYear(channel, static_cast<int>(w) + 1, weights[w], cases.byWeatherYear[w]);
    const AnnualIndices& m = cases.mean;
    report::write(channel, "('  MEAN',10X,F12.5,F11.5,F14.3,F11.4)",
                  {m.lolh, m.lole, m.mwhEue, m.puEueppm});
}

}  // namespace adequacy
