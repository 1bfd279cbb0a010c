#pragma once
// The capacity command: reads the system and the candidate files, runs the
// study, prints its summary and writes its results file. It asks nothing
// and writes no report file.

#include <iosfwd>

#include "studies/capacity_request.hpp"

namespace adequacy {

// The exit status: 0, 1 when a target is out of reach, 2 for a faulty
// file or a file that cannot be written (one line on `errors`).
int runCapacityCommand(const studies::CapacityRequest& request, std::ostream& out,
                       std::ostream& errors);

}  // namespace adequacy
