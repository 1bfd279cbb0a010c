#pragma once
// A progress line for long phases, on standard error and only when standard
// error is a terminal: how far the phase is (years of a simulation, hours of
// a direct solution, units of the outage tables), its rate and the time left.
// It never touches standard output or the report.

#include <chrono>
#include <cstdio>

namespace adequacy {

struct ProgressLine {
    std::FILE* terminal = nullptr;  // null: no progress line
    const char* phase = "";         // what is done, before the count
    const char* unit = "years";
    long long total = 0;
    long long start = 0;
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point lastDrawn;
    bool shown = false;
};

// Whether phases that run before the simulation draw a line (not with
// --quiet); set once by the driver.
void wantProgress(bool wanted);

// A line on standard error if it is wanted and a terminal, else an inert one.
ProgressLine startProgress(long long yearsDone, long long totalYears, bool wanted);

// The line of a phase before the simulation, counting `unit`s, as wanted.
ProgressLine startPhaseProgress(const char* phase, const char* unit, long long total);

// Redraws the line, at most a few times a second.
void advance(ProgressLine& progress, long long done);

// Erases the line, before a report block and at the end.
void erase(ProgressLine& progress);

// Erases a line that is on the terminal, so that a signal's message starts
// on a fresh line; async-signal-safe.
void eraseProgressOnSignal();

}  // namespace adequacy
