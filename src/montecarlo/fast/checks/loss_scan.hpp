#pragma once
// Through a stretch of hours in which no unit and no tie changes, the
// loss-of-load tests depend on the hour's loads only, and few hours fail
// them: the stretch is searched for those hours, with the vector checks
// forming the same double-precision values as the tests themselves.

#include "model/loads.hpp"
#include "montecarlo/loss_of_load.hpp"

namespace adequacy {

// The first hour in [begin, end) of the year that either test counts, with
// `capacity` available and a tie of `capability` MW; `end` if there is none.
using LossScan = int (*)(HourCapacity capacity, double capability, const HourlyLoads& loads,
                         int begin, int end);

int nextLossHourScalar(HourCapacity capacity, double capability, const HourlyLoads& loads,
                       int begin, int end);
int nextLossHourAvx2(HourCapacity capacity, double capability, const HourlyLoads& loads, int begin,
                     int end);
int nextLossHourAvx512(HourCapacity capacity, double capability, const HourlyLoads& loads,
                       int begin, int end);

}  // namespace adequacy
