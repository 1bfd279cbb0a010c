#include "montecarlo/reporting/headings.hpp"

#include "montecarlo/tie.hpp"
#include "report/free_format.hpp"
#include "report/layout.hpp"

namespace adequacy {

namespace {

void writeRepairTimes(report::Channel& channel, float generationMttr) {
    report::write(channel, "(' TRANSMISSION MTTR =', F9.3, ' DAYS')", {transmissionMttrDays});
    report::write(channel, "(' GENERATION   MTTR =', F9.3, ' DAYS')", {generationMttr});
}

}  // namespace

void writeSeedLine(report::Channel& reportFile, std::uint32_t seed) {
    report::write(reportFile, "(' RANDOM NUMBER SEED =',I11)", {static_cast<long long>(seed)});
}

void writeOpeningLines(report::Channel& console, report::Channel& reportFile) {
    for (int line = 0; line < 3; ++line) report::writeFree(reportFile, {" "});
    report::writeFree(reportFile, {"FD SEQUENTIAL MONTECARLO SOLUTION"});
    report::writeFree(console, {"SETTING UP THE SEQUENTIAL MONTE CARLO SIMULATION"});
}

void writeRepairTimeLines(report::Channel& console, report::Channel& reportFile,
                          float generationMttr) {
    writeRepairTimes(console, generationMttr);
    writeRepairTimes(reportFile, generationMttr);
    report::writeFree(reportFile, {sectionRule});
}

}  // namespace adequacy
