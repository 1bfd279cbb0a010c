// Input files made to break the readers, through the real program: each is
// refused with one line before anything is opened, or read as what it is.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "e2e/program_run.hpp"
#include "system/system_faults.hpp"

namespace adequacy::testing {
namespace {

const std::string previousReport = "the report of an earlier run\r\n";

struct HostileFile {
    const char* what;
    std::string system;        // system.toml
    std::string csv = {};      // loads.csv, if any
    std::string fifo = {};     // the file that is a FIFO instead, if any
    std::string refusal = {};  // the line on standard error; empty: accepted
};

std::string repeated(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

std::string hourlySystem(const std::string& path) {
    return withLine(12, "hourly = \"" + path + "\"");
}

// 8760 rows of `row`, the fifth replaced by `fifth`.
std::string year(const std::string& first, const std::string& fifth) {
    std::string csv = first;
    for (int row = 2; row <= 8760; ++row) csv += (row == 5 ? fifth : "150,50") + "\n";
    return csv;
}

ProgramRun runOn(const HostileFile& file, std::vector<std::string> args) {
    RunSetup setup;
    setup.args = std::move(args);
    setup.prepare = [&](const std::filesystem::path& dir) {
        if (file.fifo != "system.toml")
            std::ofstream(dir / "system.toml", std::ios::binary) << file.system;
        std::ofstream(dir / "OP", std::ios::binary) << previousReport;
        if (!file.fifo.empty()) {
            ASSERT_EQ(::mkfifo((dir / file.fifo).c_str(), 0600), 0);
        }
        if (!file.csv.empty()) std::ofstream(dir / "loads.csv", std::ios::binary) << file.csv;
    };
    return runProgram("", setup);
}

TEST(HostileFiles, AreRefusedWithOneLineOrReadAsWhatTheyAre) {
    const HostileFile files[] = {
        {"a dotted key of 50,000 levels", repeated("a.", 49999) + "a = 1\n" + validSystem, "", "",
         "system.toml:1: nested too deep for a system file: a dotted key of more than 64 parts"},
        {"inline tables 70 deep",
         repeated("{b = ", 70).insert(0, "a = ") + "1" + repeated("}", 70) + "\n", "", "",
         "system.toml:1: nested too deep for a system file: arrays and tables nested more than 64 "
         "deep"},
        {"a FIFO for the system file", validSystem, "", "system.toml",
         "system.toml: is not a regular file"},
        {"a FIFO for the hourly loads", hourlySystem("loads.csv"), "", "loads.csv",
         "system.toml:12: loads.hourly: loads.csv: is not a regular file"},
        {"a line end in the hourly path", hourlySystem("x\\ny.csv"), "", "",
         "system.toml:12: loads.hourly: the path holds a control character: x\\x0ay.csv"},
        {"a NUL in the hourly path", hourlySystem("loads.csv\\u0000x"), year("150,50\n", "150,50"),
         "", "system.toml:12: loads.hourly: the path holds a control character: loads.csv\\x00x"},
        {"a load too large for single precision", hourlySystem("loads.csv"),
         year("150,50\n", "1e39,50"), "",
         "loads.csv:5: data row 5 (day 1, hour 5): total_mw must be between 0 and 10000000 MW (is "
         "1e39)"},
        {"a load too small for single precision", hourlySystem("loads.csv"),
         year("150,50\n", "150,1e-50")},
        {"a byte-order mark before the first row", hourlySystem("loads.csv"),
         year("\xEF\xBB\xBF"
              "150,50\n",
              "150,50")},
    };
    for (const HostileFile& file : files) {
        SCOPED_TRACE(file.what);
        const ProgramRun run = runOn(file, {"--system", "system.toml", "--years", "999"});
        if (file.refusal.empty()) {
            EXPECT_EQ(run.exitStatus, 0);
            EXPECT_EQ(run.errors, "");
            continue;
        }
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.errors, "adequacy: " + file.refusal + "\n");
        EXPECT_EQ(run.report, previousReport);
    }
}

TEST(HostileFiles, APathThatIsNotUtf8ReachesTheResultsFileEscaped) {
    RunSetup setup;
    std::filesystem::path workDir;
    setup.args = {"--system", "sys\xff.toml", "--json", "r.json", "--years", "999"};
    setup.prepare = [&](const std::filesystem::path& dir) {
        workDir = dir;
        std::ofstream(dir / "sys\xff.toml") << validSystem;
    };
    StartedProgram program("", setup);
    const ProgramRun run = program.wait();
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    const auto results = nlohmann::json::parse(readFile((workDir / "r.json").string()));
    EXPECT_EQ(results["system"]["source"], "sys\\xff.toml");
}

}  // namespace
}  // namespace adequacy::testing
