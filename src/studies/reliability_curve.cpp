#include "studies/reliability_curve.hpp"

#include <algorithm>

namespace adequacy::studies {
namespace {

constexpr int middle = curvePoints / 2;

// Point i of the band from `first` through `carried` (the middle point, hit
// exactly) to `last`.
double curveMw(int i, double first, double carried, double last) {
    if (i == middle) return carried;
    if (i < middle) return first + (carried - first) * i / middle;
    return carried + (last - carried) * (i - middle) / middle;
}

}  // namespace

std::vector<CurvePoint> reliabilityCurve(WholeSystemIndices& indices, LoadForm form,
                                         double carriedMw) {
    const double halfWidth = std::max(curveHalfWidthShare * indices.peakMw(), 1.0);
    const double first = std::max(carriedMw - halfWidth, -indices.peakMw());
    std::vector<CurvePoint> curve(curvePoints);
    for (int i = 0; i < curvePoints; ++i) {
        CurvePoint& point = curve[static_cast<std::size_t>(i)];
        point.addedMw = curveMw(i, first, carriedMw, carriedMw + halfWidth);
        point.figures = indices.at(LoadChange{form, point.addedMw});
    }
    return curve;
}

}  // namespace adequacy::studies
