#include "montecarlo/fast/checks/loss_scan.hpp"

#if defined(__x86_64__)
#include <immintrin.h>

#include <bit>
#endif

namespace adequacy {

#if defined(__x86_64__)

namespace {

#define ADEQUACY_AVX2 __attribute__((target("avx2")))

constexpr int width = 4;

// The values of the stretch that the tests form before looking at the loads.
struct Stretch {
    __m256d systemThreshold;  // system MW + margin
    __m256d area0Capacity;    // system MW - area-1 MW
    __m256d capability;
    __m256d area1;
    __m256d margin;
};

// Four hours from `index` at once, operation for operation as isLossHour.
ADEQUACY_AVX2 unsigned lossLanes(const Stretch& s, const HourlyLoads& loads, int index) {
    const __m256d load = _mm256_cvtps_pd(_mm_loadu_ps(loads.total.data() + index));
    const __m256d load1 = _mm256_cvtps_pd(_mm_loadu_ps(loads.area1.data() + index));
    const __m256d system = _mm256_cmp_pd(load, s.systemThreshold, _CMP_GT_OQ);
    const __m256d surplus = _mm256_sub_pd(s.area0Capacity, _mm256_sub_pd(load, load1));
    const __m256d capped = _mm256_cmp_pd(surplus, s.capability, _CMP_GT_OQ);
    const __m256d transfer = _mm256_blendv_pd(surplus, s.capability, capped);
    const __m128 raised = _mm256_cvtpd_ps(_mm256_add_pd(s.area1, transfer));
    const __m256d imports = _mm256_cmp_pd(transfer, _mm256_setzero_pd(), _CMP_GT_OQ);
    const __m256d available = _mm256_blendv_pd(s.area1, _mm256_cvtps_pd(raised), imports);
    const __m256d area1 = _mm256_cmp_pd(load1, _mm256_add_pd(available, s.margin), _CMP_GT_OQ);
    return static_cast<unsigned>(_mm256_movemask_pd(_mm256_or_pd(system, area1)));
}

ADEQUACY_AVX2 int nextLossHour(HourCapacity capacity, double capability, const HourlyLoads& loads,
                               int begin, int end) {
    const double system = capacity.system;
    const double area1 = capacity.area1;
    const Stretch stretch{_mm256_set1_pd(system + lolMargin), _mm256_set1_pd(system - area1),
                          _mm256_set1_pd(capability), _mm256_set1_pd(area1),
                          _mm256_set1_pd(lolMargin)};
    int index = begin;
    for (; index < end && index + width <= hoursPerYear; index += width) {
        const int count = end - index < width ? end - index : width;
        const unsigned hours = lossLanes(stretch, loads, index) & ((1u << count) - 1u);
        if (hours != 0) return index + std::countr_zero(hours);
    }
    return nextLossHourScalar(capacity, capability, loads, index, end);
}

#undef ADEQUACY_AVX2

}  // namespace

int nextLossHourAvx2(HourCapacity capacity, double capability, const HourlyLoads& loads, int begin,
                     int end) {
    return nextLossHour(capacity, capability, loads, begin, end);
}

#else

int nextLossHourAvx2(HourCapacity capacity, double capability, const HourlyLoads& loads, int begin,
                     int end) {
    return nextLossHourScalar(capacity, capability, loads, begin, end);
}

#endif

}  // namespace adequacy
