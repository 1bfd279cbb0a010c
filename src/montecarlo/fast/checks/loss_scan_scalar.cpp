#include "montecarlo/fast/checks/loss_scan.hpp"

namespace adequacy {

int nextLossHourScalar(HourCapacity capacity, double capability, const HourlyLoads& loads,
                       int begin, int end) {
    for (int index = begin; index < end; ++index) {
        if (isLossHour(capacity, capability, loads.total[index], loads.area1[index])) return index;
    }
    return end;
}

}  // namespace adequacy
