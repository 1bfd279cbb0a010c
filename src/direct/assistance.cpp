#include "direct/assistance.hpp"

#include <algorithm>
#include <cmath>

#include "model/numeric.hpp"

namespace adequacy {
namespace {

constexpr float maxSupplyFailure = 0.3f;

// Transfer levels of a row: its MW magnitude cut toward zero, at most the cap.
int rowLevels(float mw) {
    double magnitude = std::trunc(std::fabs(static_cast<double>(mw)));
    return magnitude >= maxTransferLevel ? maxTransferLevel : truncateToInt(magnitude);
}

bool inDirection(const AssistanceSource& source, float mw) {
    return source.importRows ? mw > 0.0f : mw < 0.0f;
}

// Walks the levels 1, 2, ... up to `levels` while they qualify, filling the
// running sums; returns the last qualifying level. No later level can
// qualify once one fails: the supplying area's failure probability never
// falls as the level grows.
int qualifyLevels(const AssistanceSource& source, double supplyingLoad, int levels,
                  LevelSums& sums) {
    float availability = 0.0f;
    int weight = 0;
    sums.availability[0] = 0.0f;
    sums.weight[0] = 0;
    for (int level = 1; level <= levels; ++level) {
        if (static_cast<double>(level) > static_cast<double>(source.receivingPeak))
            return level - 1;
        float carried = static_cast<float>(level + supplyingLoad);
        float p = source.supplyingTable.at(
            IX(carried, source.supplyingCapacity, source.supplyingTable.top()));
        if (p > maxSupplyFailure) return level - 1;
        weight += level;
        availability = static_cast<float>(availability + level * (1.0 - static_cast<double>(p)));
        sums.availability[static_cast<std::size_t>(level)] = availability;
        sums.weight[static_cast<std::size_t>(level)] = weight;
    }
    return levels;
}

}  // namespace

void computeAssistance(const AssistanceSource& source, double supplyingLoad, LevelSums& sums,
                       HourAssistance& assistance) {
    int mostLevels = 0;
    for (std::size_t r = 0; r < atcEnteredRows; ++r)
        if (inDirection(source, source.atc.mw[r]))
            mostLevels = std::max(mostLevels, rowLevels(source.atc.mw[r]));
    int lastQualifying = qualifyLevels(source, supplyingLoad, mostLevels, sums);

    assistance.noAssistProbability = 1.0f;
    assistance.shift = 0;
    for (std::size_t r = 0; r < atcEnteredRows; ++r) {
        assistance.level[r] = 0.0f;
        assistance.probability[r] = 0.0f;
        if (!inDirection(source, source.atc.mw[r])) continue;
        int level = std::min(rowLevels(source.atc.mw[r]), lastQualifying);
        // A row without a qualifying level brings nothing; its probability
        // stays with the no-assistance state.
        if (level > 0) {
            auto l = static_cast<std::size_t>(level);
            assistance.level[r] = static_cast<float>(level);
            assistance.probability[r] =
                static_cast<float>(static_cast<double>(source.atc.probability[r]) *
                                   sums.availability[l] / sums.weight[l]);
            assistance.shift = std::max(assistance.shift, level);
        }
        assistance.noAssistProbability = static_cast<float>(
            static_cast<double>(assistance.noAssistProbability) - assistance.probability[r]);
    }
}

}  // namespace adequacy
