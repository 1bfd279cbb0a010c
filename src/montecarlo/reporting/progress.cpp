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

void draw(const ProgressLine& p, long long yearsDone, Clock::time_point now) {
    const double seconds = std::chrono::duration<double>(now - p.started).count();
    const double rate =
        seconds > 0.0 ? static_cast<double>(yearsDone - p.startYears) / seconds : 0.0;
    const double left = rate > 0.0 ? static_cast<double>(p.totalYears - yearsDone) / rate : 0.0;
    std::fprintf(p.terminal, "\r  %lld of %lld years, %.0f years/s, %s left  ", yearsDone,
                 p.totalYears, rate, formatTimeLeft(static_cast<long long>(left + 0.5)).data());
    std::fflush(p.terminal);
}

}  // namespace

ProgressLine startProgress(long long yearsDone, long long totalYears, bool wanted) {
    ProgressLine progress;
    if (wanted && ::isatty(STDERR_FILENO) == 1) progress.terminal = stderr;
    progress.totalYears = totalYears;
    progress.startYears = yearsDone;
    progress.started = progress.lastDrawn = Clock::now();
    return progress;
}

void advance(ProgressLine& progress, long long yearsDone) {
    if (progress.terminal == nullptr) return;
    const Clock::time_point now = Clock::now();
    if (now - progress.lastDrawn < redrawInterval) return;
    progress.lastDrawn = now;
    progress.shown = true;
    lineOnTerminal = 1;
    draw(progress, yearsDone, now);
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
