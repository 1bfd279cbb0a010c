#include "montecarlo/reporting/progress.hpp"

#include <unistd.h>

#include <array>
#include <csignal>

namespace adequacy {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto redrawInterval = std::chrono::milliseconds(250);
constexpr int lineWidth = 72;
constexpr char blankLine[] =
    "\r                                                                        \r";
static_assert(sizeof blankLine == lineWidth + 3);

// Read by a signal handler that ends the program while a line is shown.
volatile std::sig_atomic_t lineOnTerminal = 0;

constexpr long long secondsPerHour = 3600;

// m:ss below an hour, h:mm:ss from an hour on, null-terminated.
using TimeText = std::array<char, 32>;
TimeText formatTimeLeft(long long seconds) {
    TimeText text{};
    if (seconds < secondsPerHour)
        std::snprintf(text.data(), text.size(), "%lld:%02lld", seconds / 60, seconds % 60);
    else
        std::snprintf(text.data(), text.size(), "%lld:%02lld:%02lld", seconds / secondsPerHour,
                      seconds % secondsPerHour / 60, seconds % 60);
    return text;
}

// Whole numbers where they are large, three digits where a phase is slow:
// 0.25 years a second, not 0.
using RateText = std::array<char, 32>;
RateText formatRate(double rate) {
    RateText text{};
    std::snprintf(text.data(), text.size(), rate >= 100.0 ? "%.0f" : "%.3g", rate);
    return text;
}

void draw(const ProgressLine& p, long long done, Clock::time_point now) {
    const double seconds = std::chrono::duration<double>(now - p.started).count();
    const double rate = seconds > 0.0 ? static_cast<double>(done - p.start) / seconds : 0.0;
    const double left = rate > 0.0 ? static_cast<double>(p.total - done) / rate : 0.0;
    std::fprintf(p.terminal, "\r  %s%lld of %lld %s, %s %s/s, %s left  ", p.phase, done, p.total,
                 p.unit, formatRate(rate).data(), p.unit,
                 formatTimeLeft(static_cast<long long>(left + 0.5)).data());
    std::fflush(p.terminal);
}

bool phasesWanted = true;

}  // namespace

void wantProgress(bool wanted) { phasesWanted = wanted; }

ProgressLine startProgress(long long yearsDone, long long totalYears, bool wanted) {
    ProgressLine progress;
    if (wanted && ::isatty(STDERR_FILENO) == 1) progress.terminal = stderr;
    progress.total = totalYears;
    progress.start = yearsDone;
    progress.started = progress.lastDrawn = Clock::now();
    return progress;
}

ProgressLine startPhaseProgress(const char* phase, const char* unit, long long total) {
    ProgressLine progress = startProgress(0, total, phasesWanted);
    progress.phase = phase;
    progress.unit = unit;
    return progress;
}

void advance(ProgressLine& progress, long long done) {
    if (progress.terminal == nullptr) return;
    const Clock::time_point now = Clock::now();
    if (now - progress.lastDrawn < redrawInterval) return;
    progress.lastDrawn = now;
    progress.shown = true;
    lineOnTerminal = 1;
    draw(progress, done, now);
}

void erase(ProgressLine& progress) {
    if (progress.terminal == nullptr || !progress.shown) return;
    std::fputs(blankLine, progress.terminal);
    std::fflush(progress.terminal);
    progress.shown = false;
    lineOnTerminal = 0;
}

void eraseProgressOnSignal() {
    if (lineOnTerminal == 0) return;
    ssize_t ignored = ::write(STDERR_FILENO, blankLine, sizeof blankLine - 1);
    (void)ignored;
}

}  // namespace adequacy
