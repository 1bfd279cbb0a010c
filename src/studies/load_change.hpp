#pragma once
// How a study changes the year's loads to find what a system carries.

namespace adequacy::studies {

enum class LoadForm {
    add,    // the same MW added to every hour's load
    scale,  // every hour's load scaled by the same factor
};

// `mw` is the MW added at the peak hour, and in the added form at every hour
// too; a scaled year grows by the factor 1 + mw / peak, so that both forms
// meet at the peak and the peak is always the year's peak plus `mw`.
struct LoadChange {
    LoadForm form = LoadForm::add;
    double mw = 0.0;
};

// The year's load l becomes l * scale + added.
struct LinearLoad {
    double scale = 1.0;
    double added = 0.0;
};

inline LinearLoad linearLoad(const LoadChange& change, double peakMw) {
    if (change.form == LoadForm::add) return {1.0, change.mw};
    return {1.0 + change.mw / peakMw, 0.0};
}

}  // namespace adequacy::studies
