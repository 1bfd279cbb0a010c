#pragma once
// The built-in system's tables and loads, built once for the direct tests,
// and the seven indices as the solution block prints them.

#include <memory>
#include <string>

#include "direct/outage_table.hpp"
#include "direct/single_area.hpp"
#include "model/loads.hpp"
#include "report/layout.hpp"

namespace adequacy::testing {

inline const CapacityTables& builtInTables() {
    static const std::unique_ptr<CapacityTables> tables = [] {
        auto t = std::make_unique<CapacityTables>();
        report::Channel console = report::captureChannel("console");
        buildCapacityTables(builtInUnitTypes(), *t, console);
        return t;
    }();
    return *tables;
}

inline const HourlyLoads& builtInLoads() {
    static const std::unique_ptr<HourlyLoads> loads = [] {
        auto l = std::make_unique<HourlyLoads>();
        computeHourlyLoads(builtInLoadParameters(), *l);
        return l;
    }();
    return *loads;
}

inline float builtInMttrFactor() { return computeMttrFactor(builtInTables().generationMttr); }

// LOLH, LOLE, ALLR, ~ALOLP, MWHEUE, MWHTOTAL, puEUEppm in the fields of the
// solution block, on one line.
inline std::string printed(const AnnualIndices& r) {
    return report::renderLayout("(4F11.6,F11.5,F12.0,F10.5)",
                                {r.lolh, r.lole, r.allr, r.alolp, r.mwhEue, r.mwhTotal, r.puEueppm})
        .front();
}

}  // namespace adequacy::testing
