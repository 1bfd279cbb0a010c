#include "montecarlo/progress.hpp"

#include <unistd.h>

namespace adequacy {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto redrawInterval = std::chrono::milliseconds(250);
constexpr int lineWidth = 72;

void draw(const ProgressLine& p, long long yearsDone, Clock::time_point now) {
    const double seconds = std::chrono::duration<double>(now - p.started).count();
    const double rate =
        seconds > 0.0 ? static_cast<double>(yearsDone - p.startYears) / seconds : 0.0;
    const double left = rate > 0.0 ? static_cast<double>(p.totalYears - yearsDone) / rate : 0.0;
    const long long secondsLeft = static_cast<long long>(left + 0.5);
    std::fprintf(p.terminal, "\r  %lld of %lld years, %.0f years/s, %lld:%02lld left  ", yearsDone,
                 p.totalYears, rate, secondsLeft / 60, secondsLeft % 60);
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
    draw(progress, yearsDone, now);
}

void erase(ProgressLine& progress) {
    if (progress.terminal == nullptr || !progress.shown) return;
    std::fprintf(progress.terminal, "\r%*s\r", lineWidth, "");
    std::fflush(progress.terminal);
    progress.shown = false;
}

}  // namespace adequacy
