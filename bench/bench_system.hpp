#pragma once
// The systems the benches run: the built-in one, or the same unit types in
// another number of blocks, with the loads scaled to match, so that one
// figure compares the loops on systems of several sizes.

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "model/loads.hpp"
#include "model/system_data.hpp"
#include "montecarlo/fast/hour_lanes.hpp"
#include "montecarlo/year.hpp"

namespace adequacy::bench {

// The checks of the instruction set named, where this processor runs them;
// "fast" is the one the program picks, "avx512" the AVX-512 checks with the
// mask join this processor's vendor runs faster, "avx512-or" and
// "avx512-chain" the AVX-512 checks with either join.
inline std::optional<HourChecks> checksNamed(const std::string& name) {
    if (name == "fast") return fastestHourChecks();
    if (name == "scalar") return scalarHourChecks();
    if (name == "avx2" && avx2Available()) return avx2HourChecks();
    if (!avx512Available()) return std::nullopt;
    if (name == "avx512") return avx512HourChecks();
    if (name == "avx512-or") return avx512HourChecks(MaskJoin::generalRegisters);
    if (name == "avx512-chain") return avx512HourChecks(MaskJoin::maskChain);
    return std::nullopt;
}

// Area 1 keeps one block in eleven (at least one).
inline UnitTypes unitsOfBlocks(int blocks) {
    UnitTypes units = builtInUnitTypes();
    units.unitType.clear();
    for (int u = 0; u < blocks * builtInTypeCount; ++u)
        units.unitType.push_back(u % builtInTypeCount);
    units.area1UnitCount = std::max(blocks / builtInBlockCount, 1) * builtInTypeCount;
    return units;
}

inline LoadParameters loadsOfBlocks(int blocks) {
    LoadParameters parameters = builtInLoadParameters();
    const float scale = static_cast<float>(blocks) / builtInBlockCount;
    if (blocks != builtInBlockCount)
        for (float& d : parameters.d) d *= scale;
    return parameters;
}

// A system of `blocks` blocks with its tie, loads and probabilities, and the
// state it starts a run in.
struct BenchSystem {
    UnitTypes units;
    AtcTable atc = builtInAtcTable();
    std::unique_ptr<HourlyLoads> loads = std::make_unique<HourlyLoads>();
    TransitionProbabilities probabilities{};
    SimulationState start;

    explicit BenchSystem(int blocks) : units(unitsOfBlocks(blocks)) {
        computeHourlyLoads(loadsOfBlocks(blocks), *loads);
        start = initialState(units, atc, probabilities);
    }

    SimulationInputs inputs() const { return {units, *loads, atc, probabilities}; }

    // Every unit up and never failing, and a tie that never leaves row 1:
    // the hours still draw, but none has an event (short of a draw of
    // exactly 0), so a year of the fast loop is its quiet-hour checks alone.
    void silence() {
        start.unitState.assign(start.unitState.size(), unitUp);
        probabilities.unitFailProb.assign(probabilities.unitFailProb.size(), 0.0f);
        probabilities.atcLeaveProb = 0.0f;
    }
};

}  // namespace adequacy::bench
