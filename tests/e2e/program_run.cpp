#include "e2e/program_run.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace adequacy::testing {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ProgramRun runProgram(const std::string& standardInput) {
    std::string pattern = (std::filesystem::temp_directory_path() / "adequacy-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    std::filesystem::path dir(pattern);
    std::ofstream(dir / "in", std::ios::binary) << standardInput;
    std::string command = "cd '" + dir.string() + "' && '" ADEQUACY_BINARY
                          "' <in >console 2>errors";
    int status = std::system(command.c_str());
    ProgramRun run;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.console = readFile((dir / "console").string());
    run.errors = readFile((dir / "errors").string());
    run.reportExists = std::filesystem::exists(dir / "OP");
    if (run.reportExists) run.report = readFile((dir / "OP").string());
    std::filesystem::remove_all(dir);
    return run;
}

std::string maskTimes(const std::string& text) {
    static const std::regex solutionTime("(DIRECT SOLUTN TIME =|DIRECT SOLUTION TIME = )[ 0-9.*-]{5}");
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
