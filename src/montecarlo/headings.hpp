#pragma once
// The lines that open the Monte Carlo section, before any year is simulated.

#include "report/channel.hpp"

namespace adequacy {

inline constexpr const char* sectionRule =
    "---------------------------------------------------------";

// The report heading and the console's set-up message.
void writeOpeningLines(report::Channel& console, report::Channel& reportFile);

// The repair times of the tie and of the generation, console then report.
void writeRepairTimeLines(report::Channel& console, report::Channel& reportFile,
                          float generationMttr);

}  // namespace adequacy
