#include "montecarlo/fast/hour_lanes.hpp"

namespace adequacy {

// One build runs on any x86-64 processor: the vector checks are used only
// where the processor has them.
HourChecks fastestHourChecks() {
    if (avx512Available()) return avx512HourChecks();
    if (avx2Available()) return avx2HourChecks();
    return scalarHourChecks();
}

}  // namespace adequacy
