// Outputs that would destroy a file of the run, and outputs that are not
// plain new files, through the real program.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

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

// Drains what the program writes to a FIFO or a terminal while it runs.
class Drain {
  public:
    explicit Drain(int fd) : fd_(fd), thread_([this] { drain(); }) {}
    ~Drain() { stop(); }
    std::string stop() {
        done_ = true;
        if (thread_.joinable()) thread_.join();
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        return text_;
    }

  private:
    void drain() {
        char buffer[4096];
        while (true) {
            const bool last = done_;
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n > 0) text_.append(buffer, static_cast<std::size_t>(n));
            if (n <= 0 && last) return;
            if (n <= 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    int fd_;
    std::atomic<bool> done_{false};
    std::string text_;
    std::thread thread_;
};

TEST(OutputClashes, DevicesFifosLinksAndLongNamesAreWrittenAsTheyAre) {
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

        // Each version of the document in turn: after each phase and report.
        Drain fifo(::open((workDir / "fifo.json").c_str(), O_RDONLY | O_NONBLOCK));
        setup.args = {"--json", "fifo.json", "--years", "1000"};
        EXPECT_EQ(runProgram("", setup).exitStatus, 0);
        EXPECT_EQ(countOf(fifo.stop(), "\"program\""), 3);
        EXPECT_EQ(fs::status(workDir / "fifo.json").type(), fs::file_type::fifo);

        // A terminal of the test's own stands for a device.
        int master = -1;
        int slave = -1;
        ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
        const std::string terminal = ::ttyname(slave);
        ASSERT_EQ(::fcntl(master, F_SETFL, O_NONBLOCK), 0);
        Drain device(master);
        setup.args = {"--json", terminal, "--years", "1000"};
        EXPECT_EQ(runProgram("", setup).exitStatus, 0);
        EXPECT_EQ(fs::status(terminal).type(), fs::file_type::character);
        EXPECT_EQ(countOf(device.stop(), "\"program\""), 3);
        ::close(slave);
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
