// The year of hourly loads and the load-parameter answer.

#include "model/loads.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include "model/load_dialog.hpp"

namespace adequacy {
namespace {

std::unique_ptr<HourlyLoads> loadsFor(const LoadParameters& parameters) {
    auto loads = std::make_unique<HourlyLoads>();
    computeHourlyLoads(parameters, *loads);
    return loads;
}

float totalAt(const HourlyLoads& loads, int day, int hour) {
    return loads.total[static_cast<std::size_t>(hourIndex(day, hour))];
}
float area1At(const HourlyLoads& loads, int day, int hour) {
    return loads.area1[static_cast<std::size_t>(hourIndex(day, hour))];
}

TEST(HourlyLoads, RepresentativeDaysWithBuiltInParameters) {
    // Hour, then total and area-1 loads of winter (day 1), summer (day 201)
    // and off-peak (day 11).
    const std::array<std::array<float, 7>, 12> expected{{
        {1, 5904, 5344, 2544, 392, 473, 168},
        {2, 6224, 5624, 2624, 420, 507, 180},
        {3, 6544, 5904, 2704, 448, 541, 192},  // 8000 * 0.64 lies just below 5120
        {4, 6864, 6184, 2784, 476, 575, 204},
        {5, 7184, 6464, 2864, 504, 609, 216},
        {6, 7504, 6744, 2944, 532, 642, 228},  // 846 * 0.76 = 642.96 is cut
        {7, 7824, 7024, 3024, 560, 676, 240},
        {8, 8144, 7304, 3104, 588, 710, 252},
        {9, 8464, 7584, 3184, 616, 744, 264},
        {10, 8784, 7864, 3264, 644, 778, 276},
        {11, 9104, 8144, 3344, 672, 812, 288},
        {12, 9424, 8424, 3424, 700, 846, 300},
    }};
    auto loads = loadsFor(builtInLoadParameters());
    const int days[] = {1, 201, 11};
    for (const auto& row : expected) {
        const int hour = static_cast<int>(row[0]);
        for (int s = 0; s < 3; ++s) {
            for (int mirrored : {hour, 25 - hour}) {
                EXPECT_EQ(totalAt(*loads, days[s], mirrored), row[1 + s])
                    << days[s] << " " << mirrored;
                EXPECT_EQ(area1At(*loads, days[s], mirrored), row[4 + s])
                    << days[s] << " " << mirrored;
            }
        }
    }
}

TEST(HourlyLoads, CalendarPeaksAndEnergy) {
    auto loads = loadsFor(builtInLoadParameters());
    // Season boundaries, seen at the peak hour: winter, off-peak, summer.
    const std::pair<int, float> peakHour[] = {{10, 9424},  {11, 3424},  {200, 3424},
                                              {201, 8424}, {214, 8424}, {215, 3424}};
    for (const auto& [day, total] : peakHour) EXPECT_EQ(totalAt(*loads, day, 12), total) << day;
    EXPECT_EQ(loads->totalPeak, 9424.0f);
    EXPECT_EQ(loads->area1Peak, 846.0f);
    EXPECT_EQ(loads->area0Peak, 8724.0f);
    double energy = 0.0;
    for (float load : loads->total) energy += load;
    EXPECT_EQ(energy, 28573440.0);
}

TEST(HourlyLoads, FractionalParametersGiveHalfMegawattTotals) {
    LoadParameters parameters = builtInLoadParameters();
    parameters.d[0] = 2000.9f;
    parameters.d[3] = 1424.5f;
    auto loads = loadsFor(parameters);
    for (std::size_t i = 0; i < loads->total.size(); ++i)
        ASSERT_EQ(loads->total[i] - std::floor(loads->total[i]), 0.5f) << i;
    EXPECT_EQ(totalAt(*loads, 11, 12), 3424.5f);
    EXPECT_EQ(totalAt(*loads, 1, 12), 9424.5f);
    EXPECT_EQ(loads->totalPeak, 9424.5f);
}

struct AnswerCase {
    const char* answer;
    report::ListOutcome outcome;
    std::array<float, 7> d;
};

TEST(LoadAnswer, ReplacesParametersAsTheyAreRead) {
    using enum report::ListOutcome;
    const AnswerCase cases[] = {
        {"9000/", slash, {9000, 8000, 7000, 1424, 300, 700, 846}},
        {",9000,,,,,,", complete, {2000, 9000, 7000, 1424, 300, 700, 846}},
        {"9000", endOfInput, {9000, 8000, 7000, 1424, 300, 700, 846}},
        {"9000 X", conversionError, {9000, 8000, 7000, 1424, 300, 700, 846}},
        {"1 2 3 4 5 6 7 8", complete, {1, 2, 3, 4, 5, 6, 7}},
        {"2000.9,8000,7000,1424.5,300,700,846",
         complete,
         {2000.9f, 8000, 7000, 1424.5f, 300, 700, 846}},
    };
    for (const AnswerCase& c : cases) {
        LoadParameters parameters = builtInLoadParameters();
        std::string inputLine(c.answer);
        inputLine.resize(100, ' ');  // as the console read delivers it
        EXPECT_EQ(readLoadAnswer(inputLine, parameters), c.outcome) << c.answer;
        EXPECT_EQ(parameters.d, c.d) << c.answer;
    }
}

}  // namespace
}  // namespace adequacy
