#include "driver/options.hpp"

#include <CLI/CLI.hpp>
#include <ostream>

namespace adequacy {
namespace {

constexpr const char* exitStatuses =
    "Exit status:\n"
    "  0        the run completed, or fewer than 1000 years were asked\n"
    "  1        the analysis stopped: an unreadable answer or invalid unit data\n"
    "  2        a usage error, or a fatal I/O error (named on standard error)\n"
    "  130,143  interrupted by SIGINT or SIGTERM";

// A prompt reads one line: an answer with a line end in it cannot be typed.
std::string checkOneLine(const std::string& answer) {
    return answer.find('\n') == std::string::npos ? "" : "an answer is one line";
}

void addAnswer(CLI::App& app, const std::string& name, std::optional<std::string>& answer,
               const std::string& help) {
    app.add_option_function<std::string>(
           name, [&answer](const std::string& value) { answer = value; }, help)
        ->type_name("ANSWER")
        ->check(CLI::Validator(checkOneLine, ""));
}

void addOptions(CLI::App& app, Options& options) {
    addAnswer(app, "--load", options.loadAnswer,
              "answer at the first load-parameter prompt, e.g. \"2100 8200 7100 1500/\"");
    addAnswer(app, "--atc", options.atcAnswer,
              "answer at the first ATC prompt, e.g. \"250 .9 -250 1\"");
    addAnswer(app, "--years", options.yearsAnswer,
              "answer at the years prompt; the run is then unattended");
    app.add_option("-o,--report", options.reportPath, "write the report to FILE (default OP)")
        ->type_name("FILE");
    app.add_option("--system", options.systemPath,
                   "study the system described in FILE (TOML) instead of the built-in one")
        ->type_name("FILE");
    app.add_option("--seed", options.seed,
                   "starting value of the random-number generator, 0 to 4294967295 (default 3)")
        ->type_name("N");
    app.add_flag("--quiet", options.quiet, "no progress line during the simulation");
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& errors) {
    CommandLine line;
    CLI::App app("Generating-capacity adequacy of a two-area power system.", "adequacy");
    app.set_version_flag("--version", std::string("adequacy ") + ADEQUACY_VERSION,
                         "print the version and exit");
    app.set_help_flag("-h,--help", "print this help and exit");
    app.footer(exitStatuses);
    addOptions(app, line.options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        line.exitStatus = 0;
    } catch (const CLI::CallForVersion& version) {
        out << version.what() << '\n';
        line.exitStatus = 0;
    } catch (const CLI::ParseError& error) {
        errors << "adequacy: " << error.what() << " (see adequacy --help)\n";
        line.exitStatus = usageErrorStatus;
    }
    return line;
}

}  // namespace adequacy
