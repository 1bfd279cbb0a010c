#include "montecarlo/fast/checks/loss_scan.hpp"

#if defined(__x86_64__)
#include <immintrin.h>

#include <bit>
#endif

namespace adequacy {

#if defined(__x86_64__)

namespace {

#define ADEQUACY_AVX512 __attribute__((target("avx512f")))

constexpr int width = 8;

// The values of the stretch that the tests form before looking at the loads.
struct Stretch {
    __m512d systemThreshold;  // system MW + margin
    __m512d area0Capacity;    // system MW - area-1 MW
    __m512d capability;
    __m512d area1;
    __m512d margin;
};

// The masked forms with every lane selected are the plain instructions; the
// unmasked intrinsics trip an uninitialised-value warning in GCC 12.
ADEQUACY_AVX512 __m512d widen(__m256 values) { return _mm512_maskz_cvtps_pd(0xFF, values); }

// Eight hours from `index` at once, operation for operation as isLossHour.
ADEQUACY_AVX512 unsigned lossLanes(const Stretch& s, const HourlyLoads& loads, int index) {
    const __m512d load = widen(_mm256_loadu_ps(loads.total.data() + index));
    const __m512d load1 = widen(_mm256_loadu_ps(loads.area1.data() + index));
    const __mmask8 system = _mm512_cmp_pd_mask(load, s.systemThreshold, _CMP_GT_OQ);
    const __m512d surplus = _mm512_sub_pd(s.area0Capacity, _mm512_sub_pd(load, load1));
    const __mmask8 capped = _mm512_cmp_pd_mask(surplus, s.capability, _CMP_GT_OQ);
    const __m512d transfer = _mm512_mask_blend_pd(capped, surplus, s.capability);
    const __m256 raised = _mm512_maskz_cvtpd_ps(0xFF, _mm512_add_pd(s.area1, transfer));
    const __mmask8 imports = _mm512_cmp_pd_mask(transfer, _mm512_setzero_pd(), _CMP_GT_OQ);
    const __m512d available = _mm512_mask_blend_pd(imports, s.area1, widen(raised));
    const __mmask8 area1 =
        _mm512_cmp_pd_mask(load1, _mm512_add_pd(available, s.margin), _CMP_GT_OQ);
    return static_cast<unsigned>(system | area1);
}

ADEQUACY_AVX512 int nextLossHour(HourCapacity capacity, double capability, const HourlyLoads& loads,
                                 int begin, int end) {
    const double system = capacity.system;
    const double area1 = capacity.area1;
    const Stretch stretch{_mm512_set1_pd(system + lolMargin), _mm512_set1_pd(system - area1),
                          _mm512_set1_pd(capability), _mm512_set1_pd(area1),
                          _mm512_set1_pd(lolMargin)};
    int index = begin;
    for (; index < end && index + width <= hoursPerYear; index += width) {
        const int count = end - index < width ? end - index : width;
        const unsigned hours = lossLanes(stretch, loads, index) & ((1u << count) - 1u);
        if (hours != 0) return index + std::countr_zero(hours);
    }
    return nextLossHourScalar(capacity, capability, loads, index, end);
}

#undef ADEQUACY_AVX512

}  // namespace

int nextLossHourAvx512(HourCapacity capacity, double capability, const HourlyLoads& loads,
                       int begin, int end) {
    return nextLossHour(capacity, capability, loads, begin, end);
}

#else

int nextLossHourAvx512(HourCapacity capacity, double capability, const HourlyLoads& loads,
                       int begin, int end) {
    return nextLossHourScalar(capacity, capability, loads, begin, end);
}

#endif

}  // namespace adequacy
