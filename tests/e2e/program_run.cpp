#include "e2e/program_run.hpp"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace adequacy::testing {
namespace {

int openOrThrow(const std::filesystem::path& path, int flags) {
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) throw std::runtime_error("cannot open " + path.string());
    return fd;
}

}  // namespace

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

StartedProgram::StartedProgram(const std::string& standardInput, const RunSetup& setup) {
    std::string pattern = (std::filesystem::temp_directory_path() / "adequacy-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    workDir_ = dir_ / "run";
    std::filesystem::create_directory(workDir_);
    std::ofstream(dir_ / "in", std::ios::binary) << standardInput;
    if (setup.prepare) setup.prepare(workDir_);

    int in = openOrThrow(dir_ / "in", O_RDONLY);
    int out = openOrThrow(
        setup.consolePath.empty() ? dir_ / "console" : std::filesystem::path(setup.consolePath),
        O_WRONLY | O_CREAT | O_TRUNC);
    int err = openOrThrow(dir_ / "errors", O_WRONLY | O_CREAT | O_TRUNC);
    std::vector<char*> argv{const_cast<char*>(ADEQUACY_BINARY)};
    for (const std::string& arg : setup.args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        // Only async-signal-safe calls between fork and exec.
        if (::chdir(workDir_.c_str()) != 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0)
            ::_exit(126);
        // Descriptors inherited from the test runner would count against the limit.
        ::close_range(3, ~0U, 0);
        if (setup.openFileLimit > 0) {
            rlimit limit{static_cast<rlim_t>(setup.openFileLimit),
                         static_cast<rlim_t>(setup.openFileLimit)};
            if (::setrlimit(RLIMIT_NOFILE, &limit) != 0) ::_exit(126);
        }
        ::execv(ADEQUACY_BINARY, argv.data());
        ::_exit(127);
    }
    ::close(in);
    ::close(out);
    ::close(err);
    if (pid_ < 0) throw std::runtime_error("fork failed");
}

StartedProgram::~StartedProgram() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    std::error_code ignored;
    std::filesystem::permissions(workDir_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(dir_, ignored);
}

void StartedProgram::sendSignal(int signal) {
    if (pid_ > 0) ::kill(pid_, signal);
}

ProgramRun StartedProgram::wait() {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0)
        if (errno != EINTR) throw std::runtime_error("waitpid failed");
    pid_ = -1;
    ProgramRun run;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.console = readFile((dir_ / "console").string());
    run.errors = readFile((dir_ / "errors").string());
    run.reportExists = std::filesystem::is_regular_file(reportPath());
    if (run.reportExists) run.report = readFile(reportPath().string());
    for (const auto& entry : std::filesystem::directory_iterator(workDir_))
        run.workFiles.push_back(entry.path().filename().string());
    std::sort(run.workFiles.begin(), run.workFiles.end());
    return run;
}

ProgramRun runProgram(const std::string& standardInput, const RunSetup& setup) {
    StartedProgram program(standardInput, setup);
    return program.wait();
}

std::string maskTimes(const std::string& text) {
    static const std::regex solutionTime(
        "(DIRECT SOLUTN TIME =|DIRECT SOLUTION TIME = )[ 0-9.*-]{5}");
    static const std::regex consoleTime("( TIME =)[ 0-9.*-]{10}( SEC)");
    static const std::regex minutes("(^|\n)[ 0-9.*-]{10}( min)");
    std::string masked = std::regex_replace(text, solutionTime, "$1#####");
    masked = std::regex_replace(masked, consoleTime, "$1##########$2");
    return std::regex_replace(masked, minutes, "$1##########$2");
}

int countOf(const std::string& haystack, const std::string& needle) {
    int count = 0;
    for (std::size_t at = haystack.find(needle); at != std::string::npos;
         at = haystack.find(needle, at + needle.size()))
        ++count;
    return count;
}

}  // namespace adequacy::testing
