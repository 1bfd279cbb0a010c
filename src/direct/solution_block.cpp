#include "direct/solution_block.hpp"

#include "report/free_format.hpp"
#include "report/layout.hpp"

namespace adequacy {

void writeSolutionBlock(report::Channel& channel, std::string_view title, float seconds,
                        const AnnualIndices& r) {
    report::write(
        channel,
        "(/,A36,F5.2,' SEC',/,' --------------------------------------------',/,"
        "4X,' LOLH       LOLE       ALLR      ~ALOLP',/,4F11.6,/,/,"
        "4X,'MWHEUE    MWHTOTAL   puEUEppm',/,F11.5,F12.0,F10.5)",
        {title, seconds, r.lolh, r.lole, r.allr, r.alolp, r.mwhEue, r.mwhTotal, r.puEueppm});
}

void writeReserveMargin(report::Channel& channel, int capacity, float peak) {
    float margin = static_cast<float>((capacity - static_cast<double>(peak)) / peak * 100.0);
    report::write(channel, "(/,'   RESERVE MARGIN =',F8.2,' %')", {margin});
}

void writeConsoleSummary(report::Channel& console, const AnnualIndices& r) {
    report::writeFree(console, {"    LOLH       LOLE     puEUEppm"});
    report::write(console, "(2F11.6,F11.3)", {r.lolh, r.lole, r.puEueppm});
}

void writeConsoleTime(report::Channel& console, float seconds) {
    report::write(console, "(/,' TIME =',F10.3,' SEC',/)", {seconds});
}

}  // namespace adequacy
