// Parsing the command line into the options of a run.

#include "driver/options.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace adequacy {
namespace {

struct Parsed {
    CommandLine line;
    std::string out;
    std::string errors;
};

Parsed parse(std::vector<const char*> args) {
    args.insert(args.begin(), "adequacy");
    std::ostringstream out;
    std::ostringstream errors;
    CommandLine line = parseCommandLine(static_cast<int>(args.size()), args.data(), out, errors);
    return {line, out.str(), errors.str()};
}

TEST(Options, NoArgumentsAreTheInteractiveRun) {
    Parsed parsed = parse({});
    EXPECT_FALSE(parsed.line.exitStatus);
    const Options& options = parsed.line.options;
    EXPECT_FALSE(options.loadAnswer || options.atcAnswer || options.yearsAnswer);
    EXPECT_EQ(options.reportPath, "OP");
    EXPECT_EQ(options.seed, 3u);
    EXPECT_FALSE(options.quiet);
}

TEST(Options, AnswersAreKeptAsTypedAndValuesConverted) {
    Parsed parsed = parse({"--load", " 2100,,/", "--atc", "", "--years", "1e4", "-o", "r/x.txt",
                           "--seed", "4294967295", "--quiet"});
    ASSERT_FALSE(parsed.line.exitStatus) << parsed.errors;
    const Options& options = parsed.line.options;
    EXPECT_EQ(options.loadAnswer, " 2100,,/");
    EXPECT_EQ(options.atcAnswer, "");
    EXPECT_EQ(options.yearsAnswer, "1e4");
    EXPECT_EQ(options.reportPath, "r/x.txt");
    EXPECT_EQ(options.seed, 4294967295u);
    EXPECT_TRUE(options.quiet);
    EXPECT_EQ(parse({"--seed", "0"}).line.options.seed, 0u);
    EXPECT_EQ(parse({"--seed", "010"}).line.options.seed, 10u);  // decimal, not octal
    EXPECT_EQ(parse({"--report", "a b"}).line.options.reportPath, "a b");
}

TEST(Options, ProblemsAreOneLineOnTheErrorStream) {
    for (std::vector<const char*> args : {std::vector<const char*>{"--seed", "3.5"},
                                          {"--seed", "-0"},
                                          {"--seed", "+1"},
                                          {"--quiet=maybe"},
                                          {"--atc", "1\n2"},
                                          {"-o"}}) {
        Parsed parsed = parse(args);
        EXPECT_EQ(parsed.line.exitStatus, usageErrorStatus) << args.front();
        EXPECT_EQ(parsed.out, "");
        EXPECT_TRUE(parsed.errors.starts_with("adequacy: ")) << parsed.errors;
        EXPECT_TRUE(parsed.errors.ends_with(" (see adequacy --help)\n")) << parsed.errors;
    }
}

}  // namespace
}  // namespace adequacy
