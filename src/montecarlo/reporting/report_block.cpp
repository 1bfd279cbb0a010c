#include "montecarlo/reporting/report_block.hpp"

#include <array>
#include <span>
#include <string_view>

#include "montecarlo/reporting/headings.hpp"
#include "montecarlo/reporting/statistics.hpp"
#include "montecarlo/year.hpp"
#include "report/clock.hpp"
#include "report/free_format.hpp"
#include "report/layout.hpp"
#include "results/interrupts_held.hpp"
#include "results/recorder.hpp"

namespace adequacy {

namespace {

using AreaSd = std::array<int, areaEstimates>;

constexpr std::string_view estimatesHeading =
    "   LOLH   SD%    LOLE   SD%    ALOLP  SD%   MWHEUE SD%";

void writeArea(report::Channel& channel, std::string_view layout,
               const std::array<double, areaEstimates>& estimates, const AreaSd& sd) {
    report::write(
        channel, layout,
        {estimates[0], sd[0], estimates[1], sd[1], estimates[2], sd[2], estimates[3], sd[3]});
}

void writeTieHeadings(report::Channel& channel) {
    report::writeFree(channel, {" ATCS LOSS OF LOAD TRANSMISSION EVENTS"});
    report::writeFree(channel, {" #  ATCMW   PROB    LOLTV  SD%  CALCPR"});
}

// Only rows the tie has visited are listed.
void writeTieRows(report::Channel& console, report::Channel& reportFile, const AtcTable& atc,
                  const SimulationState& state, const std::array<int, atcRows>& sd) {
    const double hours = static_cast<double>(state.yearCount) * hoursPerYear;
    for (int row = 1; row <= atcTieStates; ++row) {
        const double stateHours = state.tie.atcStateHours[row - 1];
        if (!(stateHours > 0.0)) continue;
        for (report::Channel* channel : {&reportFile, &console}) {
            report::write(*channel, "(I3, F7.0, F8.4, F8.0, I4, F9.4)",
                          {row, atc.mw[row - 1], atc.probability[row - 1],
                           state.atcLimitedLolHours[row - 1], sd[row - 1], stateHours / hours});
        }
    }
}

void writeTime(report::Channel& channel, float minutes, int years) {
    report::write(channel, "(/, F10.2, ' min', I10, ' yrs')", {minutes, years});
}

}  // namespace

void reportEstimates(const SimulationContext& context, const SimulationState& state,
                     ScratchFiles& files, report::Channel& console, report::Channel& reportFile) {
    const int n = state.yearCount;
    const YearRecords current = yearRecords(state);
    rewind(files);
    results::Recorder* recorder = context.results;
    if (recorder) results::startReadBack(recorder->readBack, n);
    auto collect = [recorder](void (*read)(results::ReadBack&, std::span<const double>)) {
        return [recorder, read](std::span<const double> record) {
            if (recorder) read(recorder->readBack, record);
        };
    };

    const AreaSd systemSd =
        sdPercents(files.system, n, current.system, 0.0f, collect(results::readSystemRecord));
    for (report::Channel* channel : {&reportFile, &console}) {
        report::writeFree(*channel, {estimatesHeading});
    }
    constexpr std::string_view systemLine = "(F10.6, I3, 2(F11.6, I3), F10.3, I3, '  SA')";
    writeArea(reportFile, systemLine, current.system, systemSd);
    writeArea(console, systemLine, current.system, systemSd);

    const AreaSd area1Sd =
        sdPercents(files.area1, n, current.area1, 0.0f, collect(results::readArea1Record));
    constexpr std::string_view area1Line = "(F10.6, I3, 2(F11.6, I3), F10.3, I3, '  A1')";
    writeArea(reportFile, area1Line, current.area1, area1Sd);
    writeArea(console, area1Line, current.area1, area1Sd);
    const double ppm = current.area1[3] / context.area1EnergyDemand * 1000000.0;
    report::write(reportFile, "(41X, F10.3, ' ppm A1')", {ppm});

    const std::array<int, atcRows> tieSd =
        sdPercents(files.tie, n, current.tie, negligibleTieRate, collect(results::readTieRecord));
    writeTieHeadings(reportFile);
    report::writeFree(console, {" "});
    writeTieHeadings(console);
    writeTieRows(console, reportFile, context.atc, state, tieSd);
    for (ScratchFile* file : {&files.system, &files.area1, &files.tie}) seekEnd(*file);

    const float cpuNow = report::processorSeconds();
    const auto minutes = static_cast<float>((static_cast<double>(cpuNow) - context.cpuMark) / 60.0);
    writeTime(reportFile, minutes, n);
    writeTime(console, minutes, n);
    report::writeFree(reportFile, {sectionRule});
    if (recorder) {
        results::recordReport(*recorder, state, context.atc,
                              {current.system, systemSd, current.area1, area1Sd, tieSd, ppm});
    }
    // The block and the results file go out together, even when interrupted.
    const results::InterruptsHeld held(recorder != nullptr);
    report::flush(reportFile);
    if (recorder) results::writeResults(*recorder);
}

}  // namespace adequacy
