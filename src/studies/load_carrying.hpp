#pragma once
// Load-carrying capability: the MW that, added to the year's load, bring an
// index to its target. Negative when the system is short of the target.

#include <algorithm>
#include <optional>

#include "studies/bisection.hpp"
#include "studies/load_change.hpp"
#include "studies/target.hpp"

namespace adequacy::studies {

struct CarryingCapability {
    double addedMw = 0.0;               // at the peak hour, and at every hour in the added form
    double loadScale = 1.0;             // on every hour's load in the scaled form
    double peakMw = 0.0;                // the peak with the added load
    double reserveMarginPercent = 0.0;  // installed MW over that peak, minus 1
    // The index there: at or below the target, by a step of the index at most.
    double indexAtLoad = 0.0;
};

CarryingCapability carryingCapability(double addedMw, LoadForm form, double yearPeakMw,
                                      int installedMw);

// From `start`, in steps of a twentieth of the system's size at first. Down
// to no load at all, where no index can miss its target; up to a hundred
// times the system's size, beyond which no target is worth reaching.
SearchRange loadSearch(double yearPeakMw, int installedMw, double start = 0.0);

// `Indices` evaluates a change of the year's loads (WholeSystemIndices,
// Area1Indices). None when the target is out of reach, or when a year
// without load is to be scaled.
template <typename Indices>
std::optional<double> carriedMw(Indices& indices, const Target& target, LoadForm form,
                                const SearchRange& range) {
    if (form == LoadForm::scale && !(indices.peakMw() > 0.0)) return std::nullopt;
    auto indexAt = [&](double mw) {
        return valueOf(indices.at(LoadChange{form, mw}), target.index);
    };
    return largestMeeting(indexAt, target.value, range);
}

template <typename Indices>
std::optional<CarryingCapability> loadCarryingCapability(Indices& indices, const Target& target,
                                                         LoadForm form) {
    const auto mw =
        carriedMw(indices, target, form, loadSearch(indices.peakMw(), indices.installedMw()));
    if (!mw) return std::nullopt;
    CarryingCapability c = carryingCapability(*mw, form, indices.peakMw(), indices.installedMw());
    c.indexAtLoad = valueOf(indices.at(LoadChange{form, *mw}), target.index);
    return c;
}

}  // namespace adequacy::studies
