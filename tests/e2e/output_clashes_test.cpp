// Outputs that would destroy a file of the run, and outputs that are not
// plain new files, through the real program.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "e2e/program_run.hpp"
#include "system/system_faults.hpp"

namespace adequacy::testing {
namespace {

namespace fs = std::filesystem;

const std::string previous = "an earlier file\r\n";

struct Clash {
    const char* what;
    std::vector<std::string> args;
    std::string message;  // after "adequacy: "
};

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// OP and R from an earlier run, a system file with its hourly loads in sub/,
// and a link to OP.
void prepareFiles(const fs::path& dir) {
    writeFile(dir / "OP", previous);
    writeFile(dir / "R", previous);
    writeFile(dir / "sys.toml", validSystem);
    fs::create_directory(dir / "sub");
    writeFile(dir / "sub" / "h.toml", withLine(12, "hourly = \"loads.csv\""));
    std::string year = "total_mw,area1_mw\n";
    for (int row = 0; row < 8760; ++row) year += "150,50\n";
    writeFile(dir / "sub" / "loads.csv", year);
    fs::create_symlink("OP", dir / "link.json");
}

const std::string sameFile = " are the same file: each output needs a file of its own";

TEST(OutputClashes, AreRefusedBeforeAnythingIsOpened) {
    const Clash clashes[] = {
        {"results file on the default report",
         {"--json", "OP"},
         "the report file OP and the results file OP" + sameFile},
        {"two new outputs of one name",
         {"-o", "new", "--json", "./new"},
         "the report file new and the results file ./new" + sameFile},
        {"two outputs on one existing file",
         {"-o", "R", "--json", "sub/../R"},
         "the report file R and the results file sub/../R" + sameFile},
        {"results file on the system file",
         {"--system", "sys.toml", "--json", "sys.toml"},
         "the results file sys.toml and the system file sys.toml" + sameFile},
        {"report on the system file",
         {"--system", "sys.toml", "-o", "./sys.toml"},
         "the report file ./sys.toml and the system file sys.toml" + sameFile},
        {"report on the hourly loads",
         {"--system", "sub/h.toml", "-o", "sub/loads.csv"},
         "the report file sub/loads.csv and its hourly-load file sub/loads.csv" + sameFile},
        {"results file through a link to the report",
         {"--json", "link.json"},
         "the report file OP and the results file link.json" + sameFile},
    };
    for (const Clash& clash : clashes) {
        SCOPED_TRACE(clash.what);
        fs::path workDir;
        RunSetup setup;
        setup.args = clash.args;
        setup.args.insert(setup.args.end(), {"--years", "1000"});
        setup.prepare = [&](const fs::path& dir) {
            workDir = dir;
            prepareFiles(dir);
        };
        StartedProgram program("", setup);
        const ProgramRun run = program.wait();
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.errors, "adequacy: " + clash.message + "\n");
        EXPECT_EQ(run.console, "");
        EXPECT_EQ(run.report, previous);
        EXPECT_EQ(readFile((workDir / "R").string()), previous);
        EXPECT_EQ(readFile((workDir / "sys.toml").string()), validSystem);
        EXPECT_FALSE(fs::exists(workDir / "new"));
    }
}

TEST(OutputClashes, DevicesFifosLinksAndLongNamesAreWrittenThrough) {
    const std::string longName(250, 'r');
    const std::string leftover = ".results.json.adequacy-Ab12Cd";
    fs::path workDir;
    RunSetup setup;
    setup.args = {"-o", "/dev/null", "--json", "link.json", "--years", "1000"};
    setup.prepare = [&](const fs::path& dir) {
        workDir = dir;
        writeFile(dir / "results.json", previous);
        writeFile(dir / leftover, "left by a killed run");
        fs::create_symlink("results.json", dir / "link.json");
        ASSERT_EQ(::mkfifo((dir / "fifo.json").c_str(), 0600), 0);
    };
    {
        StartedProgram program("", setup);
        const ProgramRun run = program.wait();
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.errors, "");
        EXPECT_TRUE(fs::is_symlink(workDir / "link.json"));
        EXPECT_TRUE(readFile((workDir / "results.json").string()).starts_with("{\n"));
        EXPECT_FALSE(fs::exists(workDir / leftover));

        setup.workDirectory = workDir;
        setup.prepare = {};
        setup.args = {"--json", longName, "-o", longName + "-OP", "--years", "1000"};
        EXPECT_EQ(runProgram("", setup).exitStatus, 0);
        EXPECT_TRUE(readFile((workDir / longName).string()).starts_with("{\n"));

        // A FIFO, held open here so that the program need not wait for a
        // reader, gets each version of the document: after each phase and report.
        const int fifo = ::open((workDir / "fifo.json").c_str(), O_RDWR | O_NONBLOCK);
        ASSERT_GE(::fcntl(fifo, F_SETPIPE_SZ, 1 << 20), 1 << 20);
        setup.args = {"--json", "fifo.json", "--years", "1000"};
        EXPECT_EQ(runProgram("", setup).exitStatus, 0);
        std::string documents(1 << 20, '\0');
        documents.resize(static_cast<std::size_t>(
            std::max(::read(fifo, documents.data(), documents.size()), ssize_t{0})));
        ::close(fifo);
        EXPECT_EQ(countOf(documents, "\"program\""), 3);
        EXPECT_EQ(fs::status(workDir / "fifo.json").type(), fs::file_type::fifo);
    }
}

TEST(OutputClashes, ASecondRunWithTheSameResultsFileIsRefused) {
    RunSetup setup;
    setup.args = {"--json", "r.json"};
    setup.inputStaysOpen = true;
    StartedProgram first("\n\n", setup);
    ASSERT_TRUE(first.waitForConsole("NUMBER OF MONTECARLO ITERATIONS?"));
    const fs::path dir = first.reportPath().parent_path();
    const std::string before = readFile((dir / "r.json").string());

    const ProgramRun second = runProgram(
        "", {.workDirectory = dir, .args = {"--json", "r.json", "-o", "OP2", "--years", "1000"}});
    EXPECT_EQ(second.exitStatus, 2);
    EXPECT_EQ(second.errors, "adequacy: results file r.json is in use by another run\n");
    EXPECT_EQ(second.console, "");
    EXPECT_FALSE(fs::exists(dir / "OP2"));
    EXPECT_EQ(readFile((dir / "r.json").string()), before);

    first.sendInput("999\n");
    EXPECT_EQ(first.wait().exitStatus, 0);
}

}  // namespace
}  // namespace adequacy::testing
