// The built-in system with its load model's year written out as hourly
// loads: the real program, given that file, must study exactly the default
// run's system. Only the lines that say where the loads come from differ.

#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/program_run.hpp"
#include "model/loads.hpp"

namespace adequacy::testing {
namespace {

const std::string referenceDir = ADEQUACY_TEST_DATA;
const std::string examples = ADEQUACY_EXAMPLES;
const std::string csvName = "builtin_loads.csv";

std::string exactly(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

// The model's 8760 loads, each printed so that it reads back bit for bit.
std::string builtInLoadsCsv() {
    auto loads = std::make_unique<HourlyLoads>();
    computeHourlyLoads(builtInLoadParameters(), *loads);
    std::string csv = "total_mw,area1_mw\n";
    for (std::size_t i = 0; i < loads->total.size(); ++i)
        csv += exactly(loads->total[i]) + "," + exactly(loads->area1[i]) + "\n";
    return csv;
}

// examples/builtin.toml with its [loads] table naming the CSV file instead.
std::string builtInSystemWithHourlyLoads() {
    std::istringstream in(readFile(examples + "/builtin.toml"));
    std::string text;
    bool inLoads = false;
    int replaced = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("[")) inLoads = line == "[loads]";
        if (inLoads && line != "[loads]") {
            if (line.starts_with("parameters")) {
                text += "hourly = \"" + csvName + "\"\n";
                ++replaced;
            }
            continue;  // the parameters and the shape, over several lines
        }
        text += line + "\n";
    }
    EXPECT_EQ(replaced, 1) << "examples/builtin.toml has no [loads] parameters line";
    return text;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

TEST(HourlyLoadsRun, TheModelsYearFromAFileGivesTheDefaultRunsFigures) {
    RunSetup setup;
    setup.args = {"--system", "system.toml", "--years", "1000"};
    setup.prepare = [](const std::filesystem::path& dir) {
        std::ofstream(dir / "system.toml", std::ios::binary) << builtInSystemWithHourlyLoads();
        std::ofstream(dir / csvName, std::ios::binary) << builtInLoadsCsv();
    };
    const ProgramRun run = runProgram("", setup);
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(run.errors, "");

    // The default report, with the echo of D1..D4 replaced by the load
    // source and the echo of D5..D7 (a line between two blank ones) gone.
    const std::string source = " LOADS FROM FILE " + csvName + "\r";
    std::vector<std::string> expected;
    int sources = 0;
    bool afterAreaEcho = false;
    for (const std::string& line :
         linesOf(maskTimes(readFile(referenceDir + "/default-1000.OP")))) {
        if (afterAreaEcho) {
            ASSERT_EQ(line, "\r");
            afterAreaEcho = false;
        } else if (line.starts_with(" D1 MIN, D2 WIN, D3 SUM, D4 ADD =")) {
            expected.push_back(source);
            ++sources;
        } else if (line.starts_with(" D5 MIN, D6 WIN, D7 SUM =")) {
            ASSERT_EQ(expected.back(), "\r");
            expected.pop_back();
            afterAreaEcho = true;
        } else {
            expected.push_back(line);
        }
    }
    ASSERT_EQ(sources, 1);
    EXPECT_EQ(maskTimes(run.report), joined(expected));

    // The console: the same summaries, the load source instead of the echo,
    // and no load dialog.
    std::vector<std::string> console;
    for (const std::string& line :
         linesOf(maskTimes(readFile(referenceDir + "/default-1000.console")))) {
        if (line.starts_with(" D1 MIN, D2 WIN, D3 SUM, D4 ADD ="))
            console.push_back(source);
        else if (!line.starts_with(" ENTER NEW D1,D2,D3,D4") &&
                 !line.starts_with(" OR RETURN TO CONTINUE"))
            console.push_back(line);
    }
    EXPECT_EQ(maskTimes(run.console), joined(console));
}

}  // namespace
}  // namespace adequacy::testing
