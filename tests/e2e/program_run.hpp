#pragma once
// Runs the real adequacy binary in a fresh temporary directory with scripted
// standard input, and collects what it wrote.

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace adequacy::testing {

struct ProgramRun {
    int exitStatus = -1;  // 128 + the signal's number when a signal ended it
    std::string console;  // standard output
    std::string errors;   // standard error
    std::string report;   // the file OP, empty if missing
    bool reportExists = false;
    std::vector<std::string> workFiles;  // what the run left in its directory, sorted
};

// What a run's surroundings may differ in.
struct RunSetup {
    // Called with the (empty) working directory before the program starts.
    std::function<void(const std::filesystem::path&)> prepare = {};
    // Limit on the open file descriptors of the program; 0 leaves it alone.
    int openFileLimit = 0;
    // Where standard output goes instead of the collected console file.
    std::string consolePath = {};
    // The program's command-line arguments.
    std::vector<std::string> args = {};
};

// A program started in the background, for tests that act on it while it
// runs. Standard input, output and error are files outside its working
// directory, so that the directory may be made unwritable.
class StartedProgram {
  public:
    explicit StartedProgram(const std::string& standardInput, const RunSetup& setup = {});
    ~StartedProgram();  // kills the program if it still runs, removes the files
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    std::filesystem::path reportPath() const { return workDir_ / "OP"; }
    void sendSignal(int signal);
    // Waits for the end and collects what the program wrote.
    ProgramRun wait();

  private:
    std::filesystem::path dir_;
    std::filesystem::path workDir_;
    pid_t pid_ = -1;
};

ProgramRun runProgram(const std::string& standardInput, const RunSetup& setup = {});

// Masks the processor-time fields, which differ from run to run.
std::string maskTimes(const std::string& text);

std::string readFile(const std::string& path);

// Number of non-overlapping occurrences of `needle`.
int countOf(const std::string& haystack, const std::string& needle);

}  // namespace adequacy::testing
