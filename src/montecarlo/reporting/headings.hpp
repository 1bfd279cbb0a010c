#pragma once
// The lines that open the Monte Carlo section, before any year is simulated.

#include <cstdint>

#include "report/channel.hpp"

namespace adequacy {

inline constexpr const char* sectionRule =
    "---------------------------------------------------------";

// Names a seed other than the usual one, in the report only, so that a
// replication's report says which stream it drew from.
void writeSeedLine(report::Channel& reportFile, std::uint32_t seed);

// The report heading and the console's set-up message.
void writeOpeningLines(report::Channel& console, report::Channel& reportFile);

// The repair times of the tie and of the generation, console then report.
void writeRepairTimeLines(report::Channel& console, report::Channel& reportFile,
                          float generationMttr);

}  // namespace adequacy
