// Systems whose years differ, through the real program: each direct figure
// equals that of the plain system it amounts to, or a figure worked by hand,
// and every fault of the new keys ends the run before the report is touched.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>

#include "e2e/program_run.hpp"

namespace adequacy::testing {
namespace {

using nlohmann::json;
using Files = std::map<std::string, std::string>;

const std::string examples = ADEQUACY_EXAMPLES;
const std::string previousReport = "the report of an earlier run\n";

std::string builtIn() { return readFile(examples + "/builtin.toml"); }

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// `years` weather years of hourly rows, row(h) for hour h of the year.
template <typename Row>
std::string hourly(const char* header, int years, Row row) {
    std::string text = std::string(header) + "\n";
    for (int y = 0; y < years; ++y)
        for (int h = 0; h < 8760; ++h) text += row(y, h) + "\n";
    return text;
}

std::string constant(double mw) {
    return hourly("mw", 1, [mw](int, int) { return std::to_string(mw); });
}

// A year of loads with a daily and a yearly swing, less `less` MW in both.
std::string yearLoads(int years, int less = 0) {
    return hourly("total_mw,area1_mw", years, [less](int, int h) {
        const int total = 7600 + (h % 24) * 60 + (h / 24) % 30 * 20 - less;
        const int area1 = 700 + (h % 24) * 5 - less;
        return std::to_string(total) + "," + std::to_string(area1);
    });
}

std::string variable(const std::string& name, int area, const std::string& file) {
    return "\n[[variable]]\nname = \"" + name + "\"\narea = " + std::to_string(area) +
           "\nhourly = \"" + file + "\"\n";
}

struct SystemRun {
    ProgramRun run;
    json results;
};

SystemRun runSystem(const std::string& system, const Files& files,
                    const std::vector<std::string>& more = {}) {
    RunSetup setup;
    setup.args = {"--system", "s.toml", "--years", "0", "--json", "r.json", "--quiet"};
    if (more.empty()) setup.args.insert(setup.args.end(), {"--engine", "independent"});
    setup.args.insert(setup.args.end(), more.begin(), more.end());
    std::filesystem::path workDir;
    setup.prepare = [&](const std::filesystem::path& dir) {
        workDir = dir;
        std::ofstream(dir / "s.toml") << system;
        std::ofstream(dir / "OP") << previousReport;
        for (const auto& [name, text] : files) std::ofstream(dir / name) << text;
    };
    StartedProgram program("", setup);
    SystemRun result{program.wait(), {}};
    if (std::filesystem::exists(workDir / "r.json"))
        result.results = json::parse(readFile((workDir / "r.json").string()));
    return result;
}

// The figures that do not depend on the system's repair times.
// (One object may lack one, as long as both do.)
void expectSameFigures(const json& a, const json& b, const std::string& what) {
    for (const char* index : {"lolh", "lole", "mwh_eue", "eue_ppm", "mwh_total"}) {
        ASSERT_EQ(a.contains(index), b.contains(index)) << what << ": " << index;
        if (!b.contains(index)) continue;  // the simulated tie's area 1 has no demand
        const double x = a[index].get<double>();
        const double y = b[index].get<double>();
        EXPECT_NEAR(x, y, 1e-12 * std::max(1.0, std::fabs(y))) << what << ": " << index;
    }
}

void expectSameSolutions(const json& varied, const json& plain, const std::string& what) {
    expectSameFigures(varied["single_area"][0], plain["single_area"][0], what + ", single area");
    for (const char* area : {"area1", "area0"})
        expectSameFigures(varied["two_area"][0][area], plain["two_area"][0][area],
                          what + ", " + area);
    expectSameFigures(varied["two_area"][0]["area1_as_simulated"],
                      plain["two_area"][0]["area1_as_simulated"], what + ", area 1 as simulated");
    // Every weather year of the varied system is the plain year.
    for (const json& year : varied["single_area"][0]["weather_years"])
        expectSameFigures(year, plain["single_area"][0], what + ", a weather year");
}

std::string unitsWithout(int typeNumber) {
    std::string units = "units = [";
    bool skipped = false;
    for (int block = 0; block < 10; ++block)
        for (int type = 1; type <= 10; ++type) {
            if (type == typeNumber && !skipped) {
                skipped = true;
                continue;
            }
            units += std::to_string(type) + (block == 9 && type == 10 ? "]" : ", ");
        }
    return units;
}

TEST(VaryingSystems, DirectFiguresEqualThoseOfThePlainSystemTheyAmountTo) {
    const std::string base = builtIn();
    const std::string hourlyBase =
        replaced(base, "parameters = [2000, 8000, 7000, 1424, 300, 700, 846]  # D1..D7",
                 "hourly = \"l.csv\"");
    const std::string hourlyLoads =
        replaced(hourlyBase,
                 "shape = [0.56, 0.60, 0.64, 0.68, 0.72, 0.76, 0.80, 0.84, 0.88, 0.92, 0.96, "
                 "1.00,\n         1.00, 0.96, 0.92, 0.88, 0.84, 0.80, 0.76, 0.72, 0.68, 0.64, "
                 "0.60, 0.56]\n",
                 "");
    const std::string area0Units = "units = [1, 2, 3, 4, 5, 6, 7, 8, 9, 10]\nrepeat = 10";
    struct Case {
        const char* what;
        std::string varied;
        Files variedFiles;
        std::string plain;
        Files plainFiles;
    };
    const std::vector<Case> cases = {
        {"100 MW always in area 0, and D4 100 MW less",
         base + variable("firm", 0, "c.csv"),
         {{"c.csv", constant(100)}},
         replaced(base, "1424, 300", "1324, 300"),
         {}},
        {"50 MW always in area 1, and loads 50 MW less in both columns",
         hourlyLoads + variable("firm", 1, "c.csv"),
         {{"l.csv", yearLoads(1)}, {"c.csv", constant(50)}},
         hourlyLoads,
         {{"l.csv", yearLoads(1, 50)}}},
        {"one year of loads three times",
         hourlyLoads,
         {{"l.csv", yearLoads(3)}},
         hourlyLoads,
         {{"l.csv", yearLoads(1)}}},
        {"three weather years of one year, weighted",
         hourlyLoads + variable("none", 0, "z.csv") + "\n[weather]\nweights = [0.5, 0.25, 0.25]\n",
         {{"l.csv", yearLoads(3)},
          {"z.csv", hourly("mw", 3, [](int, int) { return std::string("0"); })}},
         hourlyLoads,
         {{"l.csv", yearLoads(1)}}},
        {"area 0's first 276 MW unit on maintenance all year, and the system without it",
         base + "\n[[maintenance]]\nunit = 20\nfirst_day = 1\nlast_day = 365\n",
         {},
         replaced(base, area0Units, unitsWithout(10)),
         {}},
        {"a forecast uncertainty of 0 %",
         replaced(base, "[loads]\n",
                  "[loads]\nforecast_uncertainty = { sd_percent = 0.0, steps = 7 }\n"),
         {},
         base,
         {}},
    };
    for (const Case& c : cases) {
        const SystemRun varied = runSystem(c.varied, c.variedFiles);
        const SystemRun plain = runSystem(c.plain, c.plainFiles);
        ASSERT_EQ(varied.run.exitStatus, 0) << c.what << ": " << varied.run.errors;
        ASSERT_EQ(plain.run.exitStatus, 0) << c.what << ": " << plain.run.errors;
        expectSameSolutions(varied.results, plain.results, c.what);
    }
}

// Area 1: a 10 MW unit; area 0: two of 100 MW; each out one hour in ten.
// The whole system then has 210 MW (0.729), 200 (0.081), 110 (0.162),
// 100 (0.018), 10 (0.009) or 0 (0.001): short at 171 MW with probability
// 0.19 and by 12.78 MW on average, at 209 MW with 0.271 and by 20.729 MW.
const std::string tiny = R"(
[[unit_type]]
pmax_mw = 10
derated_mw = 0
forced_outage_rate = 0.1
derated_probability = 0.0
mttr_days = 5
[[unit_type]]
pmax_mw = 100
derated_mw = 0
forced_outage_rate = 0.1
derated_probability = 0.0
mttr_days = 5
[area1]
units = [1]
[area0]
units = [2, 2]
)";

std::string flatLoads(std::vector<int> totals) {
    return hourly("total_mw,area1_mw", static_cast<int>(totals.size()),
                  [totals](int y, int) { return std::to_string(totals[y]) + ",5"; });
}

TEST(VaryingSystems, HandWorkedCasesOfTwoSteps) {
    struct Case {
        const char* what;
        std::string keys;
        std::string loads;
        double lolh, lole, mwhEue;
    };
    const double hours = 8760.0;
    const std::vector<Case> cases = {
        {"two forecast steps of 190 MW, 10 % off either way",
         "[loads]\nhourly = \"l.csv\"\nforecast_uncertainty = { sd_percent = 20, steps = 2 }\n",
         flatLoads({190}), hours * (0.19 + 0.271) / 2, 365 * (0.19 + 0.271) / 2,
         hours * (12.78 + 20.729) / 2},
        {"two weather years of 171 and 209 MW, weighted 1 to 3",
         "[loads]\nhourly = \"l.csv\"\n[weather]\nweights = [0.25, 0.75]\n", flatLoads({171, 209}),
         hours * (0.25 * 0.19 + 0.75 * 0.271), 365 * (0.25 * 0.19 + 0.75 * 0.271),
         hours * (0.25 * 12.78 + 0.75 * 20.729)},
        // Half a year with 110 MW: short every hour, by 61 MW (0.81), 71
        // (0.09), 161 (0.09) or 171 MW (0.01).
        {"a 100 MW unit on maintenance for days 1 to 182, at 171 MW",
         "[loads]\nhourly = \"l.csv\"\n[[maintenance]]\nunit = 2\nfirst_day = 1\nlast_day = 182\n",
         flatLoads({171}), 182 * 24 + 183 * 24 * 0.19, 182 + 183 * 0.19,
         182 * 24 * (61 * 0.81 + 71 * 0.09 + 161 * 0.09 + 171 * 0.01) + 183 * 24 * 12.78},
    };
    for (const Case& c : cases) {
        const SystemRun run = runSystem(tiny + c.keys, {{"l.csv", c.loads}});
        ASSERT_EQ(run.run.exitStatus, 0) << c.what << ": " << run.run.errors;
        const json& single = run.results["single_area"][0];
        EXPECT_NEAR(single["lolh"].get<double>(), c.lolh, 1e-5 * c.lolh) << c.what;
        EXPECT_NEAR(single["lole"].get<double>(), c.lole, 1e-5 * c.lole) << c.what;
        EXPECT_NEAR(single["mwh_eue"].get<double>(), c.mwhEue, 1e-5 * c.mwhEue) << c.what;
    }
}

TEST(VaryingSystems, FaultsEndTheRunBeforeTheReportIsTouched) {
    const std::string hourlyTiny = tiny + "[loads]\nhourly = \"l.csv\"\n";
    struct Case {
        const char* what;
        std::string system;
        Files files;
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"weather years that differ between files",
         hourlyTiny + variable("wind", 0, "w.csv"),
         {{"l.csv", flatLoads({171, 171})}, {"w.csv", constant(5)}},
         {},
         "s.toml:24: variable[1].hourly: 1 weather year, where loads.hourly holds 2; every "
         "hourly file holds the same weather years"},
        {"a resource's file an hour longer than a year",
         hourlyTiny + variable("wind", 0, "w.csv"),
         {{"l.csv", flatLoads({171})}, {"w.csv", constant(5) + "5\n"}},
         {},
         "w.csv:8762: 8761 data rows: 1 hour more than 1 weather year; each weather year needs "
         "exactly 8760"},
        {"two resources of one name",
         hourlyTiny + variable("wind", 0, "w.csv") + variable("wind", 1, "w.csv"),
         {{"l.csv", flatLoads({171})}, {"w.csv", constant(5)}},
         {},
         "s.toml:27: variable[2].name: \"wind\" names an earlier resource"},
        {"a negative output",
         hourlyTiny + variable("wind", 0, "w.csv"),
         {{"l.csv", flatLoads({171})}, {"w.csv", "mw\n-1\n"}},
         {},
         "w.csv:2: data row 1 (day 1, hour 1): mw must be between 0 and 10000000 MW (is -1)"},
        {"the classic engine",
         hourlyTiny + variable("wind", 0, "w.csv"),
         {{"l.csv", flatLoads({171})}, {"w.csv", constant(5)}},
         {"--engine", "classic"},
         "s.toml: variable: the classic engine simulates one year of loads with every unit in "
         "service; run this system with --engine independent"},
        {"the classic engine for maintenance",
         tiny + "[loads]\nparameters = [100, 160, 150, 40, 4, 8, 7]\n[[maintenance]]\nunit = 1\n"
                "first_day = 1\nlast_day = 2\n",
         {},
         {"--engine", "classic"},
         "s.toml: maintenance: the classic engine simulates one year of loads with every unit in "
         "service; run this system with --engine independent"},
    };
    for (const Case& c : cases) {
        const SystemRun run = runSystem(c.system, c.files, c.args);
        EXPECT_EQ(run.run.exitStatus, 2) << c.what;
        EXPECT_EQ(run.run.errors, "adequacy: " + c.message + "\n") << c.what;
        EXPECT_EQ(run.run.report, previousReport) << c.what;
    }
}

}  // namespace
}  // namespace adequacy::testing
