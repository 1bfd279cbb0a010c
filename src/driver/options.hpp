#pragma once
// The command line. Every option is optional: with none, a run is the
// interactive one.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "studies/capacity_request.hpp"

namespace adequacy {

struct Options {
    // Lines answered at a prompt in place of a console line, in the form a
    // user types there.
    std::optional<std::string> loadAnswer;
    std::optional<std::string> atcAnswer;
    std::optional<std::string> yearsAnswer;  // also makes the run unattended
    std::string reportPath = "OP";
    // Every figure of the run, kept up to date in this JSON file.
    std::optional<std::string> jsonPath;
    std::optional<std::string> systemPath;  // a system file instead of the built-in system
    std::uint32_t seed = 3;
    bool quiet = false;
    // The simulation engine: the classic hour-by-hour stream, or independent
    // years for studies, on `threads` threads (0: every core).
    enum class Engine { classic, independent } engine = Engine::classic;
    int threads = 0;
    // The first of the years simulated, counted from 1: the independent
    // engine's years can be simulated apart and put together.
    std::uint64_t firstYear = 1;
    // How the independent engine gives each year its weather year: drawn
    // with the weather years' weights, or taken in turn (year K takes
    // weather year (K - 1) mod W + 1).
    enum class WeatherOrder { drawn, inTurn } weatherOrder = WeatherOrder::drawn;
    // Set by the command `adequacy capacity`, which runs a capacity study
    // instead and takes none of the options above.
    std::optional<studies::CapacityRequest> capacity;
};

// A command line that cannot be parsed; nothing has been opened yet.
inline constexpr int usageErrorStatus = 2;

// adequacy merge A.json B.json ... -o ALL.json
struct MergeCommand {
    std::vector<std::string> inputs;
    std::string output;
};

struct CommandLine {
    Options options;
    std::optional<MergeCommand> merge;
    std::optional<int> exitStatus;  // set: end at once (help, version, a usage error)
};

// Help and version go to `out`, a usage error as one line to `errors`.
CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& errors);

}  // namespace adequacy
