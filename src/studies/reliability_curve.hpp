#pragma once
// The reliability curve: the whole system's indices against the MW added to
// its load, over a band around the load it carries at the target.

#include <vector>

#include "studies/index_at_load.hpp"

namespace adequacy::studies {

struct CurvePoint {
    double addedMw = 0.0;
    StudyFigures figures;
};

inline constexpr int curvePoints = 41;
// Each side of the load carried, as a share of the year's peak: a band as
// wide as a load forecast's uncertainty a few years ahead.
inline constexpr double curveHalfWidthShare = 0.05;

// Evenly spaced points, the middle one at `carriedMw`; none below a year
// without load.
std::vector<CurvePoint> reliabilityCurve(WholeSystemIndices& indices, LoadForm form,
                                         double carriedMw);

}  // namespace adequacy::studies
