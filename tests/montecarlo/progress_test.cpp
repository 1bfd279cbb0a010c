// The time left on the progress line.

#include "montecarlo/progress.hpp"

#include <gtest/gtest.h>

#include <string>

namespace adequacy {
namespace {

TEST(TimeLeft, ShowsHoursFromAnHourOn) {
    EXPECT_EQ(std::string(formatTimeLeft(0).data()), "0:00");
    EXPECT_EQ(std::string(formatTimeLeft(59).data()), "0:59");
    EXPECT_EQ(std::string(formatTimeLeft(3599).data()), "59:59");
    EXPECT_EQ(std::string(formatTimeLeft(3600).data()), "1:00:00");
    EXPECT_EQ(std::string(formatTimeLeft(90061).data()), "25:01:01");
}

}  // namespace
}  // namespace adequacy
