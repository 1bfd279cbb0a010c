// Free-format list input from a text, and the console reads.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <limits>
#include <string>

#include "report/console_input.hpp"
#include "report/list_input.hpp"

namespace adequacy::report {
namespace {

constexpr float inf = std::numeric_limits<float>::infinity();
using Three = std::array<float, 3>;

struct ListCase {
    const char* text;
    ListOutcome outcome;
    Three values;  // the items start as 10, 20, 30
};

TEST(ListInput, ReadsRealsWithNullsSlashAndRepeats) {
    using enum ListOutcome;
    const ListCase cases[] = {
        {"1,2,3", complete, {1, 2, 3}},
        {"  1 , 2 ,3  ", complete, {1, 2, 3}},
        {"1\t2\t3", complete, {1, 2, 3}},
        {"1 2 3 4", complete, {1, 2, 3}},  // values after the last item are not read
        {",5,,", complete, {10, 5, 30}},
        {"1,,3", complete, {1, 20, 3}},
        {"1/", slash, {1, 20, 30}},
        {"1 , / 7", slash, {1, 20, 30}},
        {"1 2", endOfInput, {1, 2, 30}},
        {"1,2,", endOfInput, {1, 2, 30}},
        {"", endOfInput, {10, 20, 30}},
        {"1 X 3", conversionError, {1, 20, 30}},
        {"1 2e 3", conversionError, {1, 20, 30}},
        {"3*7", complete, {7, 7, 7}},
        {"2*,9", complete, {10, 20, 9}},
        {"0*5 1 2 3", conversionError, {10, 20, 30}},
        {"1.5D3 2e-1 -4", complete, {1500, 0.2f, -4}},
        {"1.5d-1,+.5,7.", complete, {0.15f, 0.5f, 7}},
        {"1e39 -1e39 1e-50", complete, {inf, -inf, 0}},
    };
    for (const ListCase& c : cases) {
        Three values{10, 20, 30};
        std::array<float*, 3> items{&values[0], &values[1], &values[2]};
        EXPECT_EQ(readReals(c.text, items), c.outcome) << '"' << c.text << '"';
        EXPECT_EQ(values, c.values) << '"' << c.text << '"';
    }
}

TEST(ListInput, OnlyTheBlankCharacterIsBlank) {
    EXPECT_TRUE(isBlank(""));
    EXPECT_TRUE(isBlank(std::string(100, ' ')));
    EXPECT_FALSE(isBlank(" \t "));
    EXPECT_FALSE(isBlank("  x"));
}

// A console whose input is `text`.
class ConsoleReads : public ::testing::Test {
  protected:
    ConsoleInput console(const std::string& text) {
        file_ = std::tmpfile();
        std::fputs(text.c_str(), file_);
        std::rewind(file_);
        return ConsoleInput{file_, "test input"};
    }
    void TearDown() override {
        if (file_ != nullptr) std::fclose(file_);
    }

  private:
    std::FILE* file_ = nullptr;
};

TEST_F(ConsoleReads, LineIsCutOrBlankPaddedToOneHundredCharacters) {
    const std::string longLine = std::string(99, 'a') + "bcd";
    ConsoleInput in = console("abc\r\n\n" + longLine + "\nlast");
    EXPECT_EQ(readLine(in, Prompt::loadParameters), "abc" + std::string(97, ' '));
    EXPECT_EQ(readLine(in, Prompt::loadParameters), std::string(100, ' '));
    EXPECT_EQ(readLine(in, Prompt::loadParameters), std::string(99, 'a') + "b");
    EXPECT_EQ(readLine(in, Prompt::loadParameters), "last" + std::string(96, ' '));
    EXPECT_EXIT(readLine(in, Prompt::loadParameters), ::testing::ExitedWithCode(2), "end of input");
}

TEST_F(ConsoleReads, FirstCharacterOfALine) {
    ConsoleInput in = console("\nyes\n\r\n");
    EXPECT_EQ(readFirstCharacter(in, Prompt::closing), ' ');
    EXPECT_EQ(readFirstCharacter(in, Prompt::closing), 'y');
    EXPECT_EQ(readFirstCharacter(in, Prompt::closing), ' ');
}

TEST_F(ConsoleReads, IntegerReadsPastEmptyLinesAndKeepsInitialOnNullOrSlash) {
    ConsoleInput in = console("\n   \n  42 7\n,\n/\n1000,\n-3\n");
    EXPECT_EQ(readInteger(in, Prompt::years, 5), 42);
    EXPECT_EQ(readInteger(in, Prompt::years, 5), 5);
    EXPECT_EQ(readInteger(in, Prompt::years, 6), 6);
    EXPECT_EQ(readInteger(in, Prompt::years, 5), 1000);
    EXPECT_EQ(readInteger(in, Prompt::years, 5), -3);
}

TEST_F(ConsoleReads, IntegerConversionErrorIsFatal) {
    ConsoleInput in = console("1.5\n");
    EXPECT_EXIT(readInteger(in, Prompt::years, 5), ::testing::ExitedWithCode(2),
                "conversion error");
}

}  // namespace
}  // namespace adequacy::report
