#include "studies/load_carrying.hpp"

#include <cmath>

namespace adequacy::studies {

CarryingCapability carryingCapability(double addedMw, LoadForm form, double yearPeakMw,
                                      int installedMw) {
    CarryingCapability c;
    c.addedMw = addedMw;
    c.loadScale = linearLoad(LoadChange{form, addedMw}, yearPeakMw).scale;
    c.peakMw = yearPeakMw + addedMw;
    c.reserveMarginPercent = c.peakMw > 0.0 ? (installedMw / c.peakMw - 1.0) * 100.0 : std::nan("");
    return c;
}

SearchRange loadSearch(double yearPeakMw, int installedMw, double start) {
    const double size = std::max({yearPeakMw, static_cast<double>(installedMw), 1.0});
    return {start, std::max(size / 20.0, 1.0), -std::max(yearPeakMw, 0.0), 100.0 * size};
}

}  // namespace adequacy::studies
