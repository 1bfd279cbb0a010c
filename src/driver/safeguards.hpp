#pragma once

namespace adequacy {

// Called first thing in main, before anything is opened.
//
// Any of standard input, output and error that the program was started
// without is opened on /dev/null: the report file would otherwise take its
// descriptor, and console lines or error messages would land in the report.
//
// Running out of memory ends the run with one line on standard error and
// status 2, the report holding its complete blocks.
void installSafeguards();

}  // namespace adequacy
