#include "montecarlo/reporting/scratch.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>

#include "montecarlo/reporting/scratch_fixture.hpp"

namespace adequacy {
namespace {

using testing::systemRecord;
using Scratch = testing::ScratchFixture;

TEST_F(Scratch, AppendingAfterAReadBackContinuesTheFile) {
    append(files, systemRecord(1.0));
    append(files, systemRecord(2.0));
    rewind(files);
    std::array<double, areaEstimates> record{};
    readRecord(files.system, record);
    readRecord(files.system, record);
    seekEnd(files.system);
    append(files, systemRecord(3.0));
    rewind(files);
    for (double expected : {1.0, 2.0, 3.0}) {
        readRecord(files.system, record);
        EXPECT_EQ(record[0], expected);
    }
}

TEST_F(Scratch, EachFileHoldsItsOwnRecords) {
    YearRecords records{};
    records.system = {1.0, 2.0, 3.0, 4.0};
    records.area1 = {5.0, 6.0, 7.0, 8.0};
    for (int row = 0; row < atcRows; ++row) records.tie[row] = 9.0 + row;
    append(files, records);
    rewind(files);
    YearRecords back{};
    readRecord(files.system, back.system);
    readRecord(files.area1, back.area1);
    readRecord(files.tie, back.tie);
    EXPECT_EQ(back, records);
}

using ScratchDeathTest = Scratch;

TEST_F(ScratchDeathTest, ReadingPastTheLastRecordIsFatal) {
    append(files, systemRecord(1.0));
    rewind(files);
    std::array<double, areaEstimates> record{};
    readRecord(files.system, record);
    EXPECT_EXIT(readRecord(files.system, record), ::testing::ExitedWithCode(2), "scratch file 5");
}

TEST_F(ScratchDeathTest, AFileThatCannotBeWrittenIsFatal) {
    std::FILE* readOnly = std::fopen("/dev/null", "r");
    ASSERT_NE(readOnly, nullptr);
    std::fclose(files.area1.file);
    files.area1.file = readOnly;
    EXPECT_EXIT(append(files, systemRecord(1.0)), ::testing::ExitedWithCode(2), "scratch file 6");
}

}  // namespace
}  // namespace adequacy
