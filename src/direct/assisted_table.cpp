#include "direct/assisted_table.hpp"

#include <algorithm>
#include <cmath>

namespace adequacy {
namespace {

// Keeps a shifted level of exactly -1 from reading the certain entry.
constexpr float levelNudge = 0.001f;

int assistedLevel(int j, int shift, float level) {
    double i = std::trunc(static_cast<double>(j - shift) + level + static_cast<double>(levelNudge));
    return i < -1.0 ? -1 : static_cast<int>(i);
}

}  // namespace

void buildAssistedTable(const OutageTable& receiving, int receivingCapacity, int receivingTop,
                        const HourAssistance& assistance, AssistedTable& assisted) {
    const int shift = assistance.shift;
    assisted.capacity = receivingCapacity + shift;
    assisted.topIndex = std::min(receivingTop + shift, receiving.top());
    const int top = assisted.topIndex;
    OutageTable& q = assisted.table;
    q.entries.resize(receiving.entries.size());
    q.at(-1) = 1.0f;
    const double none = assistance.noAssistProbability;
    for (int j = top; j >= 0; --j)
        q.at(j) = static_cast<float>(none * receiving.at(std::max(j - shift, -1)));
    for (std::size_t r = 0; r < assistance.level.size(); ++r) {
        if (!(assistance.level[r] > 0.0f)) continue;
        const double probability = assistance.probability[r];
        for (int j = top; j >= 0; --j) {
            int i = assistedLevel(j, shift, assistance.level[r]);
            q.at(j) = static_cast<float>(q.at(j) + probability * receiving.at(i));
        }
    }
    std::fill(q.entries.begin() + top + 2, q.entries.end(), 0.0f);
}

}  // namespace adequacy
