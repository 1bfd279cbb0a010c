#include "driver/options.hpp"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <map>
#include <ostream>
#include <thread>
#include <variant>

namespace adequacy {
namespace {

constexpr const char* footer =
    "Each answer is taken at its prompt as if typed there, for example\n"
    "  adequacy --load \"2100 8200 7100 1500/\" --years 10000\n"
    "\n"
    "adequacy capacity --help describes the capacity study.\n"
    "\n"
    "Exit status:\n"
    "  0        the run completed, or fewer than 1000 years were asked\n"
    "  1        the analysis stopped: an unreadable answer or invalid unit data\n"
    "  2        a usage error, a faulty system file or a fatal I/O error, named\n"
    "           on standard error\n"
    "  130,143  interrupted by SIGINT or SIGTERM";

// A prompt reads one line: an answer with a line end in it cannot be typed.
std::string checkOneLine(const std::string& answer) {
    return answer.find('\n') == std::string::npos ? "" : "an answer is one line";
}

std::string checkFileName(const std::string& path) {
    return path.empty() ? "the file name is empty" : "";
}

// Decimal digits only: the library's own conversion would read 010 as octal.
bool parseSeed(const std::string& text, std::uint32_t& seed) {
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, seed);
    return !text.empty() && error == std::errc{} && stop == end;
}

std::string checkSeed(const std::string& text) {
    std::uint32_t seed = 0;
    return parseSeed(text, seed) ? "" : "not a whole number from 0 to 4294967295";
}

void addAnswer(CLI::App& app, const std::string& name, std::optional<std::string>& answer,
               const std::string& help) {
    app.add_option_function<std::string>(
           name, [&answer](const std::string& value) { answer = value; }, help)
        ->type_name("ANSWER")
        ->check(CLI::Validator(checkOneLine, ""));
}

void addOptions(CLI::App& app, Options& options) {
    addAnswer(app, "--load", options.loadAnswer, "answer to the first load-parameter prompt");
    addAnswer(app, "--atc", options.atcAnswer, "answer to the first ATC prompt");
    addAnswer(app, "--years", options.yearsAnswer, "answer to the years prompt; run unattended");
    app.add_option("-o,--report", options.reportPath, "write the report to FILE (default OP)")
        ->type_name("FILE")
        ->check(CLI::Validator(checkFileName, ""));
    app.add_option("--json", options.jsonPath, "also write every figure of the run to FILE (JSON)")
        ->type_name("FILE")
        ->check(CLI::Validator(checkFileName, ""));
    app.add_option("--system", options.systemPath,
                   "study the system described in FILE (TOML) instead of the built-in one")
        ->type_name("FILE");
    app.add_option_function<std::string>(
           "--seed", [&options](const std::string& text) { parseSeed(text, options.seed); },
           "random-number seed, 0 to 4294967295 (default 3)")
        ->type_name("N")
        ->check(CLI::Validator(checkSeed, ""));
    app.add_flag("--quiet", options.quiet, "no progress line");
    const std::map<std::string, Options::Engine> engines{
        {"classic", Options::Engine::classic}, {"independent", Options::Engine::independent}};
    app.add_option("--engine", options.engine,
                   "simulation engine: classic (the default) or independent (independent "
                   "years on every core, for studies)")
        ->type_name("ENGINE")
        ->transform(CLI::CheckedTransformer(engines, CLI::ignore_case).description(""));
    app.add_option("--threads", options.threads,
                   "threads of the independent engine (default: every core)")
        ->type_name("N")
        ->check(CLI::Range(1, 1024).description(""));
    app.add_option("--first-year", options.firstYear,
                   "with --engine independent, simulate years K to K+N-1 of the seed "
                   "(default 1)")
        ->type_name("K")
        ->check(CLI::Range(std::uint64_t{1}, std::uint64_t{1} << 62).description(""));
    const std::map<std::string, Options::WeatherOrder> orders{
        {"drawn", Options::WeatherOrder::drawn}, {"in-turn", Options::WeatherOrder::inTurn}};
    app.add_option("--weather", options.weatherOrder,
                   "with several weather years, the independent engine's years draw theirs "
                   "with the weights (drawn, the default) or take them in turn (in-turn)")
        ->type_name("ORDER")
        ->transform(CLI::CheckedTransformer(orders, CLI::ignore_case).description(""));
}

constexpr const char* capacityFooter =
    "The target is INDEX=VALUE: lole (days a year at each day's peak hour, the\n"
    "default, 0.1), lolh (hours a year), eue (MWh a year) or ppm (of the demand).\n"
    "\n"
    "Exit status:\n"
    "  0        the study completed\n"
    "  1        the target is out of the system's reach\n"
    "  2        a usage error, a faulty system or candidate file or a fatal I/O\n"
    "           error, named on standard error";

std::string checkTarget(const std::string& text) {
    const auto parsed = studies::parseTarget(text);
    const std::string* fault = std::get_if<std::string>(&parsed);
    return fault != nullptr ? *fault : "";
}

std::string checkForm(const std::string& text) {
    return text == "add" || text == "scale" ? "" : "not add or scale";
}

// The study's own options, and those of its simulated check.
struct CapacityCommand {
    CLI::App* app = nullptr;
    studies::CapacityRequest request;
    int years = 0;
    std::uint32_t seed = 3;
    int threads = 0;
};

void addCapacityCommand(CLI::App& app, CapacityCommand& command) {
    CLI::App* cmd = app.add_subcommand(
        "capacity",
        "capacity study: the load carried at a reliability target, what candidate "
        "units and the tie are worth");
    command.app = cmd;
    cmd->footer(capacityFooter);
    studies::CapacityRequest& r = command.request;
    cmd->add_option("--system", r.systemPath, "study the system described in FILE (TOML)")
        ->type_name("FILE");
    cmd->add_option_function<std::string>(
           "--target",
           [&r](const std::string& text) {
               r.target = std::get<studies::Target>(studies::parseTarget(text));
           },
           "the index and its target (default lole=0.1)")
        ->type_name("INDEX=VALUE")
        ->check(CLI::Validator(checkTarget, ""));
    cmd->add_option_function<std::string>(
           "--form",
           [&r](const std::string& text) {
               r.form = text == "add" ? studies::LoadForm::add : studies::LoadForm::scale;
           },
           "add: the same MW to every hour's load (default); scale: every hour's load scaled")
        ->type_name("add|scale")
        ->check(CLI::Validator(checkForm, ""));
    cmd->add_option("--candidate", r.candidatePaths,
                    "units to value (TOML, as a system file's unit types and areas); repeatable")
        ->type_name("FILE")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    cmd->add_option("--json", r.jsonPath, "also write every figure of the study to FILE (JSON)")
        ->type_name("FILE")
        ->check(CLI::Validator(checkFileName, ""));
    cmd->add_option("--years", command.years,
                    "check the study on N years of the independent engine (at least 1000)")
        ->type_name("N")
        ->check(CLI::Range(1000, 10000000).description(""));
    cmd->add_option_function<std::string>(
           "--seed", [&command](const std::string& text) { parseSeed(text, command.seed); },
           "seed of the simulated check (default 3)")
        ->type_name("N")
        ->check(CLI::Validator(checkSeed, ""));
    cmd->add_option("--threads", command.threads,
                    "threads of the simulated check (default: every core)")
        ->type_name("N")
        ->check(CLI::Range(1, 1024).description(""));
}

// The ordinary run's options do not apply to the capacity study; given
// before its name, they would be silently lost.
std::string capacityFault(const CLI::App& app, const CapacityCommand& command) {
    if (command.app->count("--years") == 0 &&
        (command.app->count("--seed") > 0 || command.app->count("--threads") > 0))
        return "capacity: --seed and --threads set the simulated check, which --years asks for";
    for (const CLI::Option* option : app.get_options())
        if (option->count() > 0)
            return std::string(option->get_name())
                .append(
                    ": an option of the ordinary run; the capacity command takes its own options "
                    "after its name");
    return "";
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out,
                             std::ostream& errors) {
    CommandLine line;
    CLI::App app("Generating-capacity adequacy of a two-area power system.", "adequacy");
    app.set_help_flag("-h,--help", "print this help and exit");
    app.set_version_flag("--version", std::string("adequacy ") + ADEQUACY_VERSION,
                         "print the version and exit");
    app.footer(footer);
    addOptions(app, line.options);
    MergeCommand merge;
    CLI::App* mergeCommand = app.add_subcommand(
        "merge",
        "put results files of the independent engine over disjoint years together into the "
        "results of one run over all their years");
    mergeCommand->footer(
        "The files come from runs of --engine independent over disjoint years of one study\n"
        "(--first-year K); the merged file is the results file of one run over them all.\n"
        "\n"
        "Exit status:\n"
        "  0        the merged file is written\n"
        "  2        a usage error, files that cannot be put together, or a fatal I/O\n"
        "           error, named on standard error");
    mergeCommand->add_option("FILES", merge.inputs, "results files (--json) to put together")
        ->required()
        ->type_name("FILE");
    mergeCommand->add_option("-o,--output", merge.output, "the merged results file")
        ->required()
        ->type_name("FILE")
        ->check(CLI::Validator(checkFileName, ""));
    CapacityCommand capacity;
    addCapacityCommand(app, capacity);
    try {
        app.parse(argc, argv);
        if (mergeCommand->parsed()) line.merge = merge;
        if (capacity.app->parsed()) {
            if (const std::string fault = capacityFault(app, capacity); !fault.empty()) {
                errors << "adequacy: " << fault << '\n';
                line.exitStatus = usageErrorStatus;
            }
            line.options.capacity = capacity.request;
            if (capacity.years > 0) {
                const int cores = static_cast<int>(std::thread::hardware_concurrency());
                line.options.capacity->simulation = studies::SimulationRequest{
                    capacity.years, capacity.seed,
                    capacity.threads > 0 ? capacity.threads : std::max(1, cores)};
            }
        }
        if (line.options.firstYear != 1 && line.options.engine != Options::Engine::independent)
            throw CLI::ValidationError("--first-year",
                                       "only the independent engine's years stand apart");
        if (app.count("--weather") > 0 && line.options.engine != Options::Engine::independent)
            throw CLI::ValidationError("--weather",
                                       "only the independent engine's years take weather years");
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        line.exitStatus = 0;
    } catch (const CLI::CallForVersion& version) {
        out << version.what() << '\n';
        line.exitStatus = 0;
    } catch (const CLI::ParseError& error) {
        const char* help = capacity.app->parsed() ? "adequacy capacity --help" : "adequacy --help";
        errors << "adequacy: " << error.what() << " (see " << help << ")\n";
        line.exitStatus = usageErrorStatus;
    }
    return line;
}

}  // namespace adequacy
