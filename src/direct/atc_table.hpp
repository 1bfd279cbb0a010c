#pragma once
// The tie's available transfer capability: a small probability table.
// Positive MW import into area 1, negative MW export from it.

#include <array>

namespace adequacy {

inline constexpr int atcEnteredRows = 10;
inline constexpr int atcRows = 12;  // row 11: zero import, row 12: zero export
inline constexpr int atcZeroImportRow = 11;
inline constexpr int atcZeroExportRow = 12;

struct AtcTable {
    // Index r-1 holds row r.
    std::array<float, atcRows> mw;
    std::array<float, atcRows> probability;
};

constexpr AtcTable builtInAtcTable() {
    AtcTable table{};
    table.mw[0] = 300.0f;
    table.probability[0] = 0.99f;
    table.mw[1] = 200.0f;
    table.probability[1] = 0.01f;
    table.mw[2] = -300.0f;
    table.probability[2] = 1.0f;
    return table;
}

}  // namespace adequacy
