// The progress line of a long simulation: drawn on standard error when that
// is a terminal, and nowhere else.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <vector>

#include "e2e/program_run.hpp"

namespace adequacy::testing {
namespace {

struct TerminalRun {
    int exitStatus = -1;
    std::string terminal;  // what standard error, a pseudo-terminal, received
    std::string console;   // standard output, a file
};

// A classic run as long as these ends by warning that its stream repeated;
// the progress line is judged without that line.
const std::string repeatWarning = "adequacy: warning: the classic simulation drew at least";

std::string withoutRepeatWarning(std::string text) {
    const std::size_t at = text.find(repeatWarning);
    if (at == std::string::npos) return text;
    return text.erase(at, text.find('\n', at) - at + 1);
}

// Runs the program with standard error on a pseudo-terminal; with
// `interruptAt`, sends SIGINT once the terminal has shown that text.
TerminalRun runWithTerminal(const std::string& standardInput, std::vector<std::string> args = {},
                            const char* interruptAt = nullptr) {
    std::vector<char*> argv{const_cast<char*>("adequacy")};
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::string pattern = (std::filesystem::temp_directory_path() / "adequacy-pty-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    const std::filesystem::path dir(pattern);
    std::ofstream(dir / "in", std::ios::binary) << standardInput;
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty");
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(dir.c_str()) != 0) _exit(127);
        int in = open("in", O_RDONLY);
        int out = open("console", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(in, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(slave, STDERR_FILENO);
        close(master);
        execv(ADEQUACY_BINARY, argv.data());
        _exit(127);
    }
    close(slave);
    TerminalRun run;
    char buffer[4096];
    while (true) {
        ssize_t got = read(master, buffer, sizeof buffer);
        if (got > 0) {
            run.terminal.append(buffer, static_cast<std::size_t>(got));
            if (interruptAt != nullptr && run.terminal.find(interruptAt) != std::string::npos) {
                kill(pid, SIGINT);
                interruptAt = nullptr;
            }
        } else if (got < 0 && errno == EINTR)
            continue;
        else
            break;  // EIO once the program has closed the terminal
    }
    close(master);
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.console = readFile((dir / "console").string());
    std::filesystem::remove_all(dir);
    run.terminal = withoutRepeatWarning(run.terminal);
    return run;
}

TEST(ProgressLine, IsDrawnOnATerminalAndErasedBeforeEachReport) {
    TerminalRun run = runWithTerminal("\n\n20000\n\n");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_NE(run.terminal.find(" of 20000 years, "), std::string::npos) << run.terminal;
    EXPECT_NE(run.terminal.find(" years/s, "), std::string::npos);
    // Erased: the last thing on the terminal returns the cursor to column 1
    // over blanks.
    EXPECT_TRUE(run.terminal.ends_with(std::string(72, ' ') + "\r")) << run.terminal;
    EXPECT_EQ(run.console.find("years/s"), std::string::npos);
    EXPECT_NE(run.console.find("     20000 yrs"), std::string::npos);
}

TEST(ProgressLine, ShowsHoursLeftIsErasedOnAnInterruptAndHidesWhenQuiet) {
    TerminalRun run = runWithTerminal("", {"--years", "2000000000"}, " left  ");
    EXPECT_EQ(run.exitStatus, 130);
    EXPECT_TRUE(std::regex_search(run.terminal, std::regex(" [0-9]+:[0-5][0-9]:[0-5][0-9] left")));
    // The terminal turns the line feed into CR LF.
    EXPECT_TRUE(run.terminal.ends_with("\r" + std::string(72, ' ') + "\radequacy: interrupted\r\n"))
        << run.terminal;
    EXPECT_EQ(runWithTerminal("", {"--quiet", "--years", "20000"}).terminal, "");
}

// A system file of the test's own, removed with it.
struct SystemFile {
    explicit SystemFile(const std::string& text) { std::ofstream(path) << text; }
    ~SystemFile() { std::filesystem::remove(path); }
    inline static int made = 0;
    const std::string path = std::filesystem::temp_directory_path().string() + "/adequacy-" +
                             std::to_string(getpid()) + "-" + std::to_string(++made) + ".toml";
};

std::string systemOf(const char* unitType, int unitsPerArea, const char* loads) {
    return std::string("[[unit_type]]\n") + unitType + "derated_mw = 0\nderated_probability = 0\n" +
           "mttr_days = 5\n[area1]\nunits = [1]\nrepeat = " + std::to_string(unitsPerArea) +
           "\n[area0]\nunits = [1]\nrepeat = " + std::to_string(unitsPerArea) +
           "\n[loads]\nparameters = [" + loads + "]\n";
}

TEST(ProgressLine, LongDirectSolutionsAndYearsLongerThanASecondShowTheirs) {
    // Tables of 5 million MW, and winter loads that take seconds to solve.
    const SystemFile huge(systemOf("pmax_mw = 1000000\nforced_outage_rate = 0.2\n", 5,
                                   "1, 5000000, 1, 0, 1, 2500000, 1"));
    TerminalRun direct = runWithTerminal("", {"--system", huge.path, "--years", "999"});
    EXPECT_EQ(direct.exitStatus, 0);
    EXPECT_TRUE(std::regex_search(direct.terminal,
                                  std::regex("single-area solution: [0-9]+ of 8760 hours, ")))
        << direct.terminal;
    EXPECT_TRUE(direct.terminal.ends_with(std::string(72, ' ') + "\r"));
    EXPECT_EQ(direct.console.find("hours/s"), std::string::npos);
    // 100,000 units: a simulated year takes seconds.
    const SystemFile many(systemOf("pmax_mw = 1\nforced_outage_rate = 0.05\n", 50000,
                                   "90000, 90000, 90000, 0, 45000, 45000, 45000"));
    TerminalRun slow = runWithTerminal("", {"--system", many.path, "--years", "1000"}, "years/s");
    EXPECT_EQ(slow.exitStatus, 130);
    EXPECT_TRUE(std::regex_search(slow.terminal, std::regex(" of 1000 years, 0\\.[0-9]+ years/s")))
        << slow.terminal;
}

TEST(ProgressLine, NeverAppearsWhenStandardErrorIsAFile) {
    ProgramRun run = runProgram("\n\n20000\n\n");
    EXPECT_EQ(run.exitStatus, 0);
    // 20,000 years draw 4.5 times the classic generator's period.
    EXPECT_EQ(run.errors.rfind(repeatWarning + " 4.5 times", 0), 0u) << run.errors;
    EXPECT_EQ(withoutRepeatWarning(run.errors), "");
    EXPECT_EQ(run.console.find("years/s"), std::string::npos);
}

}  // namespace
}  // namespace adequacy::testing
