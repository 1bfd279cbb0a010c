#include "montecarlo/fast/checks/loss_scan.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "montecarlo/fast/hour_lanes.hpp"

namespace adequacy {
namespace {

struct Named {
    LossScan scan;
    std::string name;
};

std::vector<Named> vectorScans() {
    std::vector<Named> scans;
    if (avx2Available()) scans.push_back({nextLossHourAvx2, "avx2"});
    if (avx512Available()) scans.push_back({nextLossHourAvx512, "avx512"});
    return scans;
}

// Every hour in [begin, end) that either test counts, by the scalar scan.
std::vector<int> lossHours(LossScan scan, HourCapacity capacity, double capability,
                           const HourlyLoads& loads, int begin, int end) {
    std::vector<int> hours;
    for (int index = scan(capacity, capability, loads, begin, end); index < end;
         index = scan(capacity, capability, loads, index + 1, end)) {
        hours.push_back(index);
    }
    return hours;
}

TEST(NextLossHour, ScalarScanVisitsExactlyTheHoursTheTestsCount) {
    auto loads = std::make_unique<HourlyLoads>();
    for (int index = 0; index < hoursPerYear; ++index) {
        loads->total[index] = 9000.0f + static_cast<float>(index % 2000);
        loads->area1[index] = 600.0f + static_cast<float>(index % 300);
    }
    const HourCapacity capacity{10500.0f, 700.0f};
    const std::vector<int> hours =
        lossHours(nextLossHourScalar, capacity, 300.0, *loads, 0, hoursPerYear);
    std::vector<int> expected;
    for (int index = 0; index < hoursPerYear; ++index) {
        const bool system = isLossOfLoad(capacity.system, loads->total[index]);
        const Area1Supply supply =
            area1Supply(capacity, 300.0, loads->total[index], loads->area1[index]);
        if (system || isLossOfLoad(supply.available, loads->area1[index]))
            expected.push_back(index);
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_LT(expected.size(), static_cast<std::size_t>(hoursPerYear));
    EXPECT_EQ(hours, expected);
}

// Loads on and around the edges of both tests: equal to the capacity, within
// the margin, just past it, and a transfer that rounds in single precision.
std::unique_ptr<HourlyLoads> edgeLoads(std::mt19937& generator, HourCapacity capacity) {
    const float edges[] = {0.0f, 0.00005f, 0.0001f, 0.00011f, 0.0002f, 0.5f, 1.0f, 7.0f, 300.0f};
    std::uniform_int_distribution<int> pick(0, 8);
    std::uniform_int_distribution<int> sign(0, 1);
    std::uniform_real_distribution<float> spread(-400.0f, 400.0f);
    auto loads = std::make_unique<HourlyLoads>();
    for (int index = 0; index < hoursPerYear; ++index) {
        const float step = sign(generator) != 0 ? edges[pick(generator)] : -edges[pick(generator)];
        loads->area1[index] = capacity.area1 + spread(generator) + step;
        loads->total[index] =
            index % 3 == 0 ? capacity.system + step : capacity.system + spread(generator);
    }
    // Loads exactly at capacity plus the margin (where that sum is a float):
    // no loss, since the test is strict.
    for (int index = 100; index < 110; ++index) {
        loads->total[index] = index % 2 == 0 ? capacity.system + lolMargin : 0.0f;
        loads->area1[index] = capacity.area1 + lolMargin;
    }
    return loads;
}

TEST(NextLossHour, VectorScansFindTheSameHours) {
    std::mt19937 generator(1424);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const HourCapacity capacities[] = {
        {10703.0f, 973.0f}, {9000.0f, 500.0f}, {973.0f, 973.0f}, {0.0f, 0.0f}, {1.0e7f, 0.1f}};
    const double capabilities[] = {300.0, 200.0, 0.0, -300.0, 0.5, 1.0e-9};
    for (const HourCapacity capacity : capacities) {
        auto loads = edgeLoads(generator, capacity);
        loads->total[17] = nan;
        loads->area1[4000] = nan;
        loads->total[8759] = std::numeric_limits<float>::infinity();
        for (const double capability : capabilities) {
            std::uniform_int_distribution<int> begins(0, hoursPerYear);
            for (int trial = 0; trial < 12; ++trial) {
                const int begin = trial == 0 ? 0 : begins(generator);
                std::uniform_int_distribution<int> ends(begin, hoursPerYear);
                const int end = trial == 0 ? hoursPerYear : ends(generator);
                const std::vector<int> expected =
                    lossHours(nextLossHourScalar, capacity, capability, *loads, begin, end);
                for (const Named& scan : vectorScans()) {
                    ASSERT_EQ(lossHours(scan.scan, capacity, capability, *loads, begin, end),
                              expected)
                        << scan.name << ", capacity " << capacity.system << "/" << capacity.area1
                        << ", capability " << capability << ", hours " << begin << ".." << end;
                }
            }
        }
    }
}

}  // namespace
}  // namespace adequacy
