// Hourly loads from a CSV file named by the system file: where the file is
// looked for, what it may hold, and which row a fault is reported at.

#include <gtest/gtest.h>

#include <string>

#include "model/study_system.hpp"
#include "system/system_file.hpp"
#include "system/system_files.hpp"

namespace adequacy::testing {
namespace {

const std::string hourlySystem = R"([[unit_type]]
pmax_mw = 100
derated_mw = 0
forced_outage_rate = 0.1
derated_probability = 0
mttr_days = 5
[area1]
units = [1]
[area0]
units = [1]
[loads]
hourly = "year/loads.csv"
)";

// Row r (1-based) holds total 1000 + r and area 1 r / 4.
std::string yearCsv(int rows, bool header) {
    std::string text = header ? "total_mw, area1_mw\r\n" : "";
    for (int r = 1; r <= rows; ++r)
        text += std::to_string(1000 + r) + "," + std::to_string(r / 4.0) + "\n";
    return text;
}

// A headerless year with data row `row` replaced.
std::string withRow(int row, const std::string& text) {
    std::string csv = yearCsv(8760, false);
    std::size_t begin = 0;
    for (int r = 1; r < row; ++r) begin = csv.find('\n', begin) + 1;
    return csv.replace(begin, csv.find('\n', begin) - begin, text);
}

std::string readError(const SystemFileFolder& folder, const std::string& csv) {
    std::filesystem::create_directories(folder.path("year"));
    folder.write("year/loads.csv", csv);
    auto result = system::readSystemFile(folder.write("system.toml", hourlySystem));
    if (!std::holds_alternative<system::SystemFileError>(result)) return "accepted";
    return system::describe(std::get<system::SystemFileError>(result));
}

TEST(HourlyLoadFile, PathIsRelativeToTheSystemFileAndValuesKeepTheirOrder) {
    for (bool header : {true, false}) {
        SystemFileFolder folder;
        std::filesystem::create_directories(folder.path("year"));
        folder.write("year/loads.csv", yearCsv(8760, header));
        auto result = system::readSystemFile(folder.write("system.toml", hourlySystem));
        ASSERT_TRUE(std::holds_alternative<StudySystem>(result))
            << system::describe(std::get<system::SystemFileError>(result));
        const StudySystem& system = std::get<StudySystem>(result);
        ASSERT_TRUE(system.hourlyLoads.has_value());
        const HourlyLoadYear& year = *system.hourlyLoads;
        EXPECT_EQ(year.path, "year/loads.csv");
        ASSERT_EQ(year.total.size(), 8760u);
        ASSERT_EQ(year.area1.size(), 8760u);
        EXPECT_EQ(year.total.front(), 1001.0f);
        EXPECT_EQ(year.area1.front(), 0.25f);
        EXPECT_EQ(year.total.back(), 9760.0f);
        EXPECT_EQ(year.area1.back(), 2190.0f);
        EXPECT_EQ(year.area1[4368], 1092.25f);
    }
}

TEST(HourlyLoadFile, FaultsNameTheFileLineAndRow) {
    SystemFileFolder folder;
    const std::string csv = folder.path("year/loads.csv");
    const std::string tooMany = yearCsv(8761, true);
    const std::string notNumber = withRow(15, "x015,3.75");
    const std::string notFinite = withRow(2, "1002,nan");
    const std::string infinite = withRow(8760, "inf,2190");
    const std::string threeValues = withRow(3, "1003,0.75,1");
    const std::string areaAboveTotal = withRow(4, "1004,2000");
    const std::string negative = withRow(5, "-1005,1.25");
    std::string gap = yearCsv(8760, false);
    gap.insert(gap.find("1010,"), 1, '\n');
    struct Case {
        std::string text;
        std::string message;
    } cases[] = {
        {yearCsv(8759, true), csv + ":8760: only 8759 data rows; a year needs exactly 8760"},
        {"", csv + ": only 0 data rows; a year needs exactly 8760"},
        {tooMany, csv + ":8762: 8761 data rows: 1 hour more than 1 weather year; each weather year needs exactly 8760"},
        {notNumber, csv + ":15: data row 15 (day 1, hour 15): total_mw is not a number: \"x015\""},
        {notFinite, csv + ":2: data row 2 (day 1, hour 2): area1_mw is not a finite number"},
        {infinite,
         csv + ":8760: data row 8760 (day 365, hour 24): total_mw is not a finite number"},
        {threeValues,
         csv + ":3: data row 3 (day 1, hour 3): must hold two values, total_mw,area1_mw"},
        {areaAboveTotal,
         csv + ":4: data row 4 (day 1, hour 4): area1_mw exceeds total_mw, which includes it"},
        {negative, csv + ":5: data row 5 (day 1, hour 5): total_mw must be between 0 and 10000000 "
                         "MW (is -1005)"},
        {gap, csv + ":10: blank line among the data rows"},
        {yearCsv(8760, true) + "\n\n", "accepted"},
    };
    for (const Case& c : cases) EXPECT_EQ(readError(folder, c.text), c.message);
}

}  // namespace
}  // namespace adequacy::testing
