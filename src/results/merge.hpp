#pragma once
// adequacy merge: results files of the independent engine over disjoint
// ranges of years, put together into the results file of one run over all
// their years, figure for figure the same as that run's.

#include <iosfwd>
#include <string>
#include <vector>

namespace adequacy::results {

// The exit status: 0, or 2 after one line on `errors` saying what is wrong.
int mergeResultsFiles(const std::vector<std::string>& inputs, const std::string& output,
                      std::ostream& errors);

}  // namespace adequacy::results
