// Fixed-width fields, layouts, free-format lines and records.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "report/channel.hpp"
#include "report/fields.hpp"
#include "report/free_format.hpp"
#include "report/layout.hpp"

namespace adequacy::report {
namespace {

using Records = std::vector<std::string>;

struct FCase {
    double value;
    int width;
    int decimals;
    const char* expected;
};

TEST(Fields, RealFieldRoundsAndJustifies) {
    const FCase cases[] = {
        {0.5, 12, 8, "  0.50000000"},
        {-3.25, 8, 2, "   -3.25"},
        {100000.0, 7, 0, "100000."},
        {1000000.0, 7, 0, "*******"},
        {9424.5, 7, 0, "  9425."},   // an exact tie rounds away from zero
        {-9424.5, 7, 0, " -9425."},  // likewise for a negative value
        {0.25, 5, 1, "  0.3"},
        {-0.25, 5, 1, " -0.3"},
        {2.675, 6, 2, "  2.67"},  // the stored value lies just below the tie
        {static_cast<double>(0.99f), 12, 8, "  0.99000001"},
        {0.99999999, 5, 2, " 1.00"},  // rounding carries into the integer part
        {99.995, 5, 2, "*****"},      // 99.995 is stored above the tie: 100.00
        {-0.001, 5, 2, "-0.00"},      // the sign survives rounding to zero
        {-0.001, 4, 2, "-.00"},       // no room for the leading 0
        {0.5, 3, 2, ".50"},
        {0.4, 3, 0, " 0."},
        {-0.5, 4, 3, "****"},
    };
    for (const FCase& c : cases)
        EXPECT_EQ(formatF(c.value, c.width, c.decimals), c.expected)
            << c.value << " F" << c.width << "." << c.decimals;
}

TEST(Fields, RealFieldWithoutFiniteValueIsAsterisks) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(formatF(std::numeric_limits<double>::quiet_NaN(), 8, 2), "********");
    EXPECT_EQ(formatF(inf, 10, 5) + formatF(-inf, 5, 2), "***************");
}

TEST(Fields, IntegerAndTextFields) {
    EXPECT_EQ(formatI(1000, 3), "***");
    EXPECT_EQ(formatI(-99, 3), "-99");
    EXPECT_EQ(formatI(-100, 3), "***");
    EXPECT_EQ(formatI(3000, 5), " 3000");
    EXPECT_EQ(formatA("+0", 8), "      +0");
    EXPECT_EQ(formatA("abcdef", 3), "abc");
}

TEST(Fields, IntegerFieldOfARealShowsItsIntegerPartWithoutA32BitLimit) {
    EXPECT_EQ(formatIntegerPart(-0.5, 3), "  0");
    EXPECT_EQ(formatIntegerPart(-99.9, 3), "-99");
    EXPECT_EQ(formatIntegerPart(1e30, 32), " 1000000000000000019884624838656");
    EXPECT_EQ(formatIntegerPart(std::nan(""), 4), "****");
}

TEST(Layout, RendersItemsIntoRecords) {
    EXPECT_EQ(renderLayout("(/,' TIME =',F10.3,' SEC',/)", {1.5}),
              (Records{"", " TIME =     1.500 SEC", ""}));
    EXPECT_EQ(
        renderLayout("(I3,3(F7.0,F12.8))", {12, 9424.0, 0.00998912, 8424.0, 0.0, 3424.0, 1.0}),
        (Records{" 12  9424.  0.00998912  8424.  0.00000000  3424.  1.00000000"}));
    EXPECT_EQ(renderLayout("(4F11.6)", {0.225304, 0.099956, 0.095577, 0.02622}),
              (Records{"   0.225304   0.099956   0.095577   0.026220"}));
    EXPECT_EQ(renderLayout("(2X,'A',3X,I2)", {7}), (Records{"  A    7"}));
    EXPECT_EQ(renderLayout("('A',5X)", {}), (Records{"A"}));  // a skip alone writes nothing
    EXPECT_EQ(renderLayout("(/,/,'X',/,/)", {}), (Records{"", "", "X", "", ""}));
    EXPECT_EQ(renderLayout("(2(I2,/),'Z')", {1, 2}), (Records{" 1", " 2", "Z"}));
}

TEST(Layout, StopsAtTheFirstFieldWithoutAValue) {
    // Items before the field are written, the current record still ends.
    EXPECT_EQ(renderLayout("(/,' TIME =',F10.3,' SEC',/)", {}), (Records{"", " TIME ="}));
    EXPECT_EQ(renderLayout("(I3,3(F7.0,F12.8))", {1, 5904.0}), (Records{"  1  5904."}));
    EXPECT_EQ(renderLayout("('A',I2,/,'B')", {}), (Records{"A"}));
    EXPECT_EQ(renderLayout("(3I4,'end')", {1, 2}), (Records{"   1   2"}));
}

TEST(FreeFormat, RendersTextsAndIntegers) {
    EXPECT_EQ(renderFree({"gen", 1, "  PMAX is too small"}),
              " gen           1   PMAX is too small");
    EXPECT_EQ(renderFree({"ab", "cd"}), " abcd");
    EXPECT_EQ(renderFree({5, -7}), "            5          -7");
    EXPECT_EQ(renderFree({}), "");
    EXPECT_EQ(renderFree({" "}), "  ");
    const std::string text27(27, 'x');
    const std::string_view view27(text27);
    EXPECT_EQ(renderFree({view27}).size(), 28u);
}

TEST(Channel, RecordsEndWithCarriageReturnAndLineFeed) {
    Channel channel = captureChannel("test");
    writeRecord(channel, "abc");
    writeFree(channel);
    writeFree(channel, {"x"});
    write(channel, "(/,' TIME =',F10.3,' SEC',/)", {0.0f});
    EXPECT_EQ(channel.captured, "abc\r\n\r\n x\r\n\r\n TIME =     0.000 SEC\r\n\r\n");
}

}  // namespace
}  // namespace adequacy::report
