#pragma once
// The largest MW at which an index that never falls as the MW grow stays
// within a target: bracketed by steps that double, then bisected. The
// direct solutions' indices are monotone in the load but not continuous
// (LOLE and LOLH step at whole MW of margin), so the answer is where the
// index crosses the target, not where it equals it.

#include <algorithm>
#include <optional>

namespace adequacy::studies {

// Where a bisection stops: every figure a study gives is within this of the
// crossing, so that differences of two such figures are good to 0.1 MW.
inline constexpr double crossingToleranceMw = 0.01;

struct Bracket {
    double meets;  // index(meets) <= target
    double fails;  // index(fails) > target
};

struct SearchRange {
    double start;    // where the search begins
    double step;     // the first step away from it, above 0
    double lowest;   // where the index is sure to meet the target
    double highest;  // beyond it the target counts as out of reach
};

template <typename IndexAt>
std::optional<Bracket> bracketCrossing(IndexAt&& indexAt, double target, const SearchRange& r) {
    double step = r.step;
    if (indexAt(r.start) <= target) {
        for (double meets = r.start; meets < r.highest; step *= 2.0) {
            const double next = std::min(meets + step, r.highest);
            if (indexAt(next) > target) return Bracket{meets, next};
            meets = next;
        }
        return std::nullopt;
    }
    for (double fails = r.start; fails > r.lowest; step *= 2.0) {
        const double next = std::max(fails - step, r.lowest);
        if (indexAt(next) <= target) return Bracket{next, fails};
        fails = next;
    }
    return std::nullopt;
}

template <typename IndexAt>
Bracket narrowCrossing(IndexAt&& indexAt, double target, Bracket b) {
    while (b.fails - b.meets > crossingToleranceMw) {
        const double middle = 0.5 * (b.meets + b.fails);
        (indexAt(middle) <= target ? b.meets : b.fails) = middle;
    }
    return b;
}

// The largest MW within the range whose index meets the target (to the
// tolerance), or none when the target is out of reach.
template <typename IndexAt>
std::optional<double> largestMeeting(IndexAt&& indexAt, double target, const SearchRange& r) {
    const std::optional<Bracket> b = bracketCrossing(indexAt, target, r);
    if (!b) return std::nullopt;
    return narrowCrossing(indexAt, target, *b).meets;
}

}  // namespace adequacy::studies
