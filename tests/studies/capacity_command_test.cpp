// The capacity command on the real program: it writes no report and asks
// nothing; a faulty command line or candidate file ends it with one line on
// standard error and status 2 before anything is written.

#include <gtest/gtest.h>

#include <algorithm>

#include "studies/study_runs.hpp"

namespace adequacy::testing {
namespace {

TEST(CapacityCommand, RefusesFaultsBeforeWritingAnything) {
    struct Case {
        std::vector<std::string> args;
        const char* message;  // the line on standard error, after "adequacy: "
    };
    const SystemFileFolder folder;
    const std::string oneUnit = unitType(200, 0.05);
    folder.write("loads.toml", oneUnit + "[area1]\nunits = [1]\n[loads]\nparameters = [1]\n");
    folder.write("no-area.toml", oneUnit);
    folder.write("no-type.toml", oneUnit + "[area0]\nunits = [1, 2]\n");
    std::string twoYears = "mw\n";
    for (int h = 0; h < 2 * 8760; ++h) twoYears += "5\n";
    folder.write("two.csv", twoYears);
    folder.write("two-years.toml", "[[variable]]\nname = \"w\"\narea = 0\nhourly = \"two.csv\"\n");
    for (const Case& c : std::vector<Case>{
             {{"capacity", "--seed", "5"},
              "capacity: --seed and --threads set the simulated check, which --years asks for"},
             {{"capacity", "--target", "lole"},
              "--target: not INDEX=VALUE with INDEX one of lole, lolh, eue, ppm (see adequacy "
              "capacity --help)"},
             {{"capacity", "--target", "lolh=8760"},
              "--target: lolh: must be above 0 and below 8760 hours a year (see adequacy capacity "
              "--help)"},
             {{"capacity", "--target", "eue=-1"},
              "--target: eue: must be above 0 MWh a year (see adequacy capacity --help)"},
             {{"capacity", "--form", "multiply"},
              "--form: not add or scale (see adequacy capacity --help)"},
             {{"--json", "r.json", "capacity"},
              "--json: an option of the ordinary run; the capacity command takes its own options "
              "after its name"},
             {{"capacity", "--json", "r.json", "--candidate", "loads.toml"},
              "loads.toml:9: unknown key loads (known keys: unit_type, area1, area0, variable)"},
             {{"capacity", "--json", "r.json", "--candidate", "no-area.toml"},
              "no-area.toml:1: missing key area1 or area0: the units the candidate adds to an "
              "area (or variable, for a variable resource)"},
             {{"capacity", "--candidate", "two-years.toml"},
              "two-years.toml: its variable resources hold 2 weather years, the system 1; they "
              "need the same"},
             {{"capacity", "--json", "r.json", "--candidate", "no-type.toml"},
              "no-type.toml:8: area0.units[2]: there is no unit type 2 (the file has types 1 to "
              "1)"},
         }) {
        const ProgramRun run =
            runProgram("", RunSetup{.workDirectory = folder.path(""), .args = c.args});
        EXPECT_EQ(run.exitStatus, 2) << c.message;
        EXPECT_EQ(run.errors, std::string("adequacy: ") + c.message + "\n");
        EXPECT_EQ(run.console, "");
        EXPECT_EQ(run.workFiles.size(), 5u) << c.message;  // the five files, nothing else
    }
    // Standard input holds answers an ordinary run would take; the study
    // takes none of them and writes no report.
    const ProgramRun run = runProgram(
        "\n\n1000\n\n", RunSetup{.workDirectory = folder.path(""), .args = {"capacity"}});
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(run.console.rfind("Capacity study of the built-in system: 110 units", 0), 0u);
    EXPECT_FALSE(run.reportExists);
}

}  // namespace
}  // namespace adequacy::testing
