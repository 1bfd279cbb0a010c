#pragma once
// A progress line for long simulations, on standard error and only when
// standard error is a terminal: years done of the total, years per second and
// the time left. It never touches standard output or the report.

#include <chrono>
#include <cstdio>

namespace adequacy {

struct ProgressLine {
    std::FILE* terminal = nullptr;  // null: no progress line
    long long totalYears = 0;
    long long startYears = 0;
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point lastDrawn;
    bool shown = false;
};

// A line on standard error if it is wanted and a terminal, else an inert one.
ProgressLine startProgress(long long yearsDone, long long totalYears, bool wanted);

// Redraws the line, at most a few times a second.
void advance(ProgressLine& progress, long long yearsDone);

// Erases the line, before a report block and at the end.
void erase(ProgressLine& progress);

// Erases a line that is on the terminal, so that a signal's message starts
// on a fresh line; async-signal-safe.
void eraseProgressOnSignal();

}  // namespace adequacy
