#pragma once
// Scratch files opened for one test and closed after it, and a record that
// carries only a whole-system LOLH.

#include <gtest/gtest.h>

#include "montecarlo/reporting/scratch.hpp"

namespace adequacy::testing {

inline YearRecords systemRecord(double lolh) {
    YearRecords records{};
    records.system[0] = lolh;
    return records;
}

class ScratchFixture : public ::testing::Test {
  protected:
    void SetUp() override { files = openScratchFiles(); }
    void TearDown() override { closeScratchFiles(files); }
    ScratchFiles files{};
};

}  // namespace adequacy::testing
