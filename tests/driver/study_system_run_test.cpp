// A whole run of a system other than the built-in one: the driver started in
// a child process (it ends the process), in a directory of its own, with
// scripted console answers.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "direct/two_unit_system.hpp"
#include "driver/program.hpp"
#include "model/study_system.hpp"

namespace adequacy {
namespace {

struct ChildRun {
    int exitStatus = -1;
    std::string console;
    std::string report;
    bool reportExists = false;
    std::string errors;
};

std::string contentsOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void redirect(const char* path, int flags, int fd) {
    const int opened = open(path, flags, 0644);
    if (opened < 0 || dup2(opened, fd) < 0) _exit(99);
    close(opened);
}

ChildRun runInChild(const StudySystem& system, const std::string& answers) {
    static int runs = 0;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("adequacy-system-run-" + std::to_string(getpid()) + "-" + std::to_string(++runs));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "answers", std::ios::binary) << answers;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(dir.c_str()) != 0) _exit(99);
        redirect("answers", O_RDONLY, 0);
        redirect("console", O_WRONLY | O_CREAT | O_TRUNC, 1);
        redirect("errors", O_WRONLY | O_CREAT | O_TRUNC, 2);
        _exit(runProgram(Options{}, system));
    }
    ChildRun run;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    run.console = contentsOf(dir / "console");
    run.reportExists = std::filesystem::exists(dir / "OP");
    run.report = contentsOf(dir / "OP");
    run.errors = contentsOf(dir / "errors");
    std::filesystem::remove_all(dir);
    return run;
}

using testing::twoUnitSystem;

// The first field of the line that ends with `label`.
double estimateAfter(const std::string& text, const std::string& label) {
    const std::size_t end = text.find(label);
    if (end == std::string::npos) return -1.0;
    const std::size_t start = text.rfind('\n', end) + 1;
    return std::stod(text.substr(start, 10));
}

// LOLH, LOLE and puEUEppm of the console summary that follows `heading`.
std::vector<double> summaryAfter(const std::string& text, const std::string& heading) {
    const std::string columns = "    LOLH       LOLE     puEUEppm\r\n";
    const std::size_t at = text.find(columns, text.find(heading));
    if (at == std::string::npos) return {};
    std::istringstream line(text.substr(at + columns.size(), 33));
    std::vector<double> values(3);
    line >> values[0] >> values[1] >> values[2];
    return values;
}

void expectFigures(const std::vector<double>& shown, double lolh, double lole, double ppm) {
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_NEAR(shown[0], lolh, 1e-4);
    EXPECT_NEAR(shown[1], lole, 1e-5);
    EXPECT_NEAR(shown[2], ppm, 0.01);
}

TEST(StudySystemRun, HourlyLoadsSkipTheLoadDialogAndTheSimulationAgreesWithTheDirectFigures) {
    // No load dialog: the first answer goes to the ATC dialog.
    const ChildRun run = runInChild(twoUnitSystem(), "\n1000\n\n");
    ASSERT_EQ(run.exitStatus, 0) << run.console;
    EXPECT_EQ(run.console.find("ENTER NEW D1"), std::string::npos);
    EXPECT_NE(run.console.find(" LOADS FROM FILE constant.csv\r\n"), std::string::npos);
    EXPECT_NE(run.report.find(" LOADS FROM FILE constant.csv\r\n"), std::string::npos);
    // The figures of the hand derivation (see small_system_test.cpp).
    expectFigures(summaryAfter(run.console, ""), 2452.8, 102.2, 16.0 / 150.0 * 1e6);
    expectFigures(summaryAfter(run.console, "AREA 1 DIRECT"), 876.0, 36.5, 100000.0);
    expectFigures(summaryAfter(run.console, "AREA 0 DIRECT"), 1752.0, 73.0, 110000.0);
    EXPECT_NE(run.report.find("\r\n      50    1.00000\r\n     -50    1.00000\r\n"),
              std::string::npos);
    EXPECT_NE(run.console.find("      1000 yrs"), std::string::npos);
    // Area 1 is short whenever its unit is out, area 0's unit carrying area
    // 0's own 100 MW with nothing to spare: 10% of the hours, which a
    // thousand simulated years estimate within a few percent. The whole
    // system is short whenever a unit is out, 28% of the hours: 2452.8 hours
    // a year do not fit the F10.6 field and show as asterisks. Its days with
    // a loss are 28% of the days (102.2) plus about one for each outage that
    // begins or ends within a day: up times of 1080 h (area 1, fail rate
    // 1/120 x 0.1/0.9 per hour) and 480 h (area 0) with 120 h repairs give
    // 8760/1200 + 8760/600 = 22 outages a year.
    EXPECT_NEAR(estimateAfter(run.console, "  A1\r\n"), 876.0, 0.05 * 876.0);
    const std::size_t sa = run.console.find("  SA\r\n");
    ASSERT_NE(sa, std::string::npos);
    const std::string systemLine = run.console.substr(run.console.rfind('\n', sa) + 1, 37);
    EXPECT_EQ(systemLine.substr(0, 10), "**********");
    const double systemLole = std::stod(systemLine.substr(13, 11));
    EXPECT_GT(systemLole, 102.2 * 0.95);
    EXPECT_LT(systemLole, (102.2 + 22.0) * 1.05);
}

TEST(StudySystemRun, AYearOfHourlyLoadsOfTheWrongLengthIsRefusedBeforeTheReport) {
    StudySystem system = twoUnitSystem();
    system.hourlyLoads->area1.pop_back();
    const ChildRun run = runInChild(system, "\n1000\n\n");
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_FALSE(run.reportExists);
    EXPECT_EQ(run.errors, "adequacy: constant.csv: not a year of 8760 hourly loads\n");
}

}  // namespace
}  // namespace adequacy
