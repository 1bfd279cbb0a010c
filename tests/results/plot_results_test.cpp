// tools/plot-results draws every figure from the results file of a short run.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "e2e/program_run.hpp"

namespace adequacy::testing {
namespace {

bool onPath(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

struct PngSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool operator==(const PngSize&) const = default;
};

std::uint32_t bigEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// The size in the PNG's header chunk; 0 x 0 for a file that is not a PNG.
PngSize pngSize(const std::filesystem::path& path) {
    const std::string bytes = readFile(path.string());
    if (bytes.size() < 24 || bytes.substr(0, 8) != "\x89PNG\r\n\x1a\n" ||
        bytes.substr(12, 4) != "IHDR")
        return {};
    return {bigEndian(bytes, 16), bigEndian(bytes, 20)};
}

TEST(PlotResults, DrawsEveryFigureOfAShortRun) {
    if (!onPath("gnuplot") || !onPath("python3"))
        GTEST_SKIP() << "gnuplot or python3 is missing: tools/install-deps --plots installs them";
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("adequacy-plots-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::filesystem::path results = dir / "results.json";
    RunSetup setup;
    setup.args = {"--json", results.string()};
    const ProgramRun run = runProgram("\n\n2000\n\n", setup);
    ASSERT_EQ(run.exitStatus, 0);

    const std::string command = std::string(ADEQUACY_TOOLS_DIR) + "/plot-results " +
                                results.string() + " " + (dir / "figures").string() + " > " +
                                (dir / "out").string() + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << readFile((dir / "out").string());
    const std::map<std::string, PngSize> expected{
        {"heatmaps.png", {1500, 560}}, {"convergence.png", {1200, 860}}, {"tie.png", {1100, 460}}};
    for (const auto& [name, size] : expected) {
        EXPECT_EQ(pngSize(dir / "figures" / name), size) << name;
    }
    // Without a simulation report only the direct heat map can be drawn;
    // without a direct solution, nothing.
    setup.args = {"--json", (dir / "direct-only.json").string()};
    ASSERT_EQ(runProgram("\n\n999\n", setup).exitStatus, 0);
    const std::string directOnly = std::string(ADEQUACY_TOOLS_DIR) + "/plot-results " +
                                   (dir / "direct-only.json").string() + " " +
                                   (dir / "direct").string() + " 2>/dev/null >/dev/null";
    EXPECT_EQ(std::system(directOnly.c_str()), 0);
    EXPECT_EQ(pngSize(dir / "direct" / "heatmaps.png"), (PngSize{1500, 560}));
    EXPECT_FALSE(std::filesystem::exists(dir / "direct" / "convergence.png"));
    std::ofstream(dir / "empty.json") << R"({"single_area": [], "monte_carlo": null})";
    const std::string refused = std::string(ADEQUACY_TOOLS_DIR) + "/plot-results " +
                                (dir / "empty.json").string() + " " + (dir / "none").string() +
                                " 2>/dev/null";
    EXPECT_NE(std::system(refused.c_str()), 0);
    // A capacity study's results file gives its reliability curve alone.
    setup.args = {"capacity", "--json", (dir / "capacity.json").string()};
    ASSERT_EQ(runProgram("", setup).exitStatus, 0);
    const std::string curve = std::string(ADEQUACY_TOOLS_DIR) + "/plot-results " +
                              (dir / "capacity.json").string() + " " + (dir / "study").string() +
                              " >/dev/null";
    EXPECT_EQ(std::system(curve.c_str()), 0);
    EXPECT_EQ(pngSize(dir / "study" / "capacity.png"), (PngSize{1500, 520}));
    EXPECT_FALSE(std::filesystem::exists(dir / "study" / "heatmaps.png"));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace adequacy::testing
