#include "montecarlo/independent/load_peaks.hpp"

#include <algorithm>
#include <bit>
#include <limits>

namespace adequacy::independent {

LoadPeaks::LoadPeaks(std::span<const float> loads) : hours_(static_cast<int>(loads.size())) {
    const int levels = std::bit_width(static_cast<unsigned>(hours_));
    levels_.assign(static_cast<std::size_t>(levels * hours_), 0.0f);
    // A NaN load is never short itself, but it must not hide its stretch's
    // other hours: it counts as the largest load there is.
    std::transform(loads.begin(), loads.end(), levels_.begin(), [](float load) {
        return load == load ? load : std::numeric_limits<float>::infinity();
    });
    for (int k = 1; k < levels; ++k) {
        const int half = 1 << (k - 1);
        for (int h = 0; h + 2 * half <= hours_; ++h) {
            const auto below = static_cast<std::size_t>((k - 1) * hours_ + h);
            levels_[static_cast<std::size_t>(k * hours_ + h)] =
                std::max(levels_[below], levels_[below + static_cast<std::size_t>(half)]);
        }
    }
}

float LoadPeaks::max(int first, int end) const {
    const int k = std::bit_width(static_cast<unsigned>(end - first)) - 1;
    const float a = levels_[static_cast<std::size_t>(k * hours_ + first)];
    const float b = levels_[static_cast<std::size_t>(k * hours_ + end - (1 << k))];
    return std::max(a, b);
}

}  // namespace adequacy::independent
