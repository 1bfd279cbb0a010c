#include "montecarlo/fast/hour_lanes.hpp"


#if defined(__x86_64__)
#include <immintrin.h>

#include "montecarlo/fast/draw_threshold.hpp"
#include "montecarlo/fast/fast_year.hpp"
#include "montecarlo/fast/lcg_jump.hpp"
#include "montecarlo/loss_of_load.hpp"
#include "montecarlo/random.hpp"
#include "montecarlo/tie.hpp"
#include "montecarlo/units.hpp"
#include "montecarlo/year.hpp"

#define ADEQUACY_CHECKS_TARGET __attribute__((target("avx512f")))
#include "montecarlo/fast/year_steps.hpp"
#endif

namespace adequacy {

#if defined(__x86_64__)

namespace {

constexpr int width = 16;
static_assert(laneVectorWidth % width == 0);

// Hours of up to this many vectors keep their jumps and thresholds in
// registers while they scan (three registers a vector).
constexpr int registerVectors = 8;

#define ADEQUACY_AVX512 __attribute__((target("avx512f")))

// Lanes that fire among the sixteen from `first`, as the AVX2 check finds
// them; the comparison yields the lane bits directly.
ADEQUACY_AVX512 __mmask16 fires(__m512i a, __m512i c, __m512i threshold, __m512i seed) {
    const __m512i x = _mm512_add_epi32(_mm512_mullo_epi32(a, seed), c);
    // The masked shift with every lane selected is the plain shift; the
    // unmasked intrinsic trips an uninitialised-value warning in GCC 12.
    const __m512i draw = _mm512_maskz_srli_epi32(0xFFFF, x, ranDiscardedBits);
    return _mm512_cmpgt_epi32_mask(threshold, draw);
}

ADEQUACY_AVX512 __mmask16 firesAt(const LaneThresholds& thresholds, __m512i seed, int first,
                                  int shift) {
    return fires(_mm512_loadu_si512(jumpTable.multiplier.data() + first + 1 + shift),
                 _mm512_loadu_si512(jumpTable.increment.data() + first + 1 + shift),
                 _mm512_loadu_si512(thresholds.draws.data() + first), seed);
}

ADEQUACY_AVX512 std::uint64_t checkWord(const LaneThresholds& thresholds, std::uint32_t hourSeed,
                                        int shift, int word) {
    const __m512i seed = _mm512_set1_epi32(static_cast<int>(hourSeed));
    const int first = 64 * word;
    const int last = first + 64 < thresholds.lanes ? first + 64 : thresholds.lanes;
    std::uint64_t fired = 0;
    for (int from = first; from < last; from += width)
        fired |= std::uint64_t{firesAt(thresholds, seed, from, shift)} << (from - first);
    return fired;
}

// The jump of a whole hour without events.
LcgJump quietHourJump(const LaneThresholds& thresholds) {
    return LcgJump{jumpTable.multiplier[thresholds.hourDraws()],
                   jumpTable.increment[thresholds.hourDraws()]};
}

// The quiet scan compares the raw seed of a lane with its threshold shifted
// left by the discarded bits, unsigned: k < T for the top 24 bits k of x is
// x < 256 T, without a shift per draw. The one threshold that 32 bits cannot
// hold, 2^24 (fires always), is looked for before the scan.
ADEQUACY_AVX512 __m512i rawThreshold(__m512i draws) {
    return _mm512_maskz_slli_epi32(0xFFFF, draws, ranDiscardedBits);
}

ADEQUACY_AVX512 __mmask16 firesAlways(__m512i draws) {
    return _mm512_cmpeq_epi32_mask(draws, _mm512_set1_epi32(drawCount));
}

// The lanes among the sixteen of a vector that fire, as bits.
ADEQUACY_AVX512 __mmask16 firesRaw(__m512i a, __m512i c, __m512i raw, __m512i seed) {
    return _mm512_cmplt_epu32_mask(_mm512_add_epi32(_mm512_mullo_epi32(a, seed), c), raw);
}

// The lanes whose raw draw x is at least the raw threshold, and (below) the
// same kept within `quiet`. GCC gives a compare's result the one mask
// register that cannot mask and copies it to another for the next compare,
// an instruction on the multiplier's port; written out, the chain has none.
ADEQUACY_AVX512 inline __mmask16 quietLanes(__m512i x, __m512i raw) {
    return _mm512_cmpge_epu32_mask(x, raw);
}

ADEQUACY_AVX512 inline void stillQuiet(__mmask16& quiet, __m512i x, __m512i raw) {
#if defined(__GNUC__) && !defined(__clang__)
    __asm__("vpcmpnltud %[raw], %[x], %[quiet]%{%[quiet]%}"
            : [quiet] "+Yk"(quiet)
            : [x] "v"(x), [raw] "v"(raw));
#else
    quiet = _mm512_mask_cmpge_epu32_mask(quiet, x, raw);
#endif
}

// The jumps and raw thresholds of an hour of a few vectors, in registers.
template <int vectors>
struct HourInRegisters {
    __m512i a[vectors];
    __m512i c[vectors];
    __m512i raw[vectors];
    __mmask16 always[vectors];

    ADEQUACY_AVX512 __m512i draws(int vector, __m512i seed) const {
        return _mm512_add_epi32(_mm512_mullo_epi32(a[vector], seed), c[vector]);
    }

    // Whether no lane fires in the hour from `hourSeed`, the masks joined by
    // a chain of compares (MaskJoin::maskChain). The raw draws are kept for
    // firedIn: an hour that ends the run need not draw again.
    ADEQUACY_AVX512 bool quiet(std::uint32_t hourSeed, __m512i (&x)[vectors]) const {
        const __m512i seed = _mm512_set1_epi32(static_cast<int>(hourSeed));
        for (int vector = 0; vector < vectors; ++vector) x[vector] = draws(vector, seed);
        __mmask16 quiet = quietLanes(x[0], raw[0]);
        for (int vector = 1; vector < vectors; ++vector) stillQuiet(quiet, x[vector], raw[vector]);
        return _kortestc_mask16_u8(quiet, quiet) != 0;
    }

    // The lanes of each vector that fire with the raw draws x, as bits.
    ADEQUACY_AVX512 void firedIn(const __m512i (&x)[vectors], unsigned (&bits)[vectors]) const {
        for (int vector = 0; vector < vectors; ++vector)
            bits[vector] = _cvtmask16_u32(_mm512_cmplt_epu32_mask(x[vector], raw[vector]));
    }

    // The lanes of each vector that fire in the hour from `hourSeed`, as
    // bits, and whether any does, the masks joined in a general register
    // (MaskJoin::generalRegisters).
    ADEQUACY_AVX512 bool fired(std::uint32_t hourSeed, unsigned (&bits)[vectors]) const {
        const __m512i seed = _mm512_set1_epi32(static_cast<int>(hourSeed));
        unsigned any = 0;
        for (int vector = 0; vector < vectors; ++vector) {
            bits[vector] = _cvtmask16_u32(firesRaw(a[vector], c[vector], raw[vector], seed));
            any |= bits[vector];
        }
        return any != 0;
    }

    // The hour that ends a run is the one just checked: its bits are at hand.
    // The words are gathered apart from the run, each written once.
    ADEQUACY_AVX512 void carry(const unsigned (&bits)[vectors], QuietRun& run) const {
        std::uint64_t words[carriedWords] = {0, 0};
        for (int vector = 0; vector < vectors; ++vector) {
            const int first = vector * width;
            const unsigned lanes = bits[vector] | _cvtmask16_u32(always[vector]);
            words[first / 64] |= std::uint64_t{lanes} << (first % 64);
        }
        run.fired = {words[0], words[1]};
    }
};

// The jumps and thresholds stay in registers for the whole run; a lane that
// always fires ends it before its first hour.
template <int vectors, MaskJoin join>
[[gnu::always_inline]] ADEQUACY_AVX512 inline QuietRun scanInRegisters(
    const LaneThresholds& thresholds, std::uint32_t hourSeed, int limit) {
    HourInRegisters<vectors> hour;
    __mmask16 always = 0;
    for (int vector = 0; vector < vectors; ++vector) {
        const int first = vector * width;
        hour.a[vector] = _mm512_loadu_si512(jumpTable.multiplier.data() + first + 1);
        hour.c[vector] = _mm512_loadu_si512(jumpTable.increment.data() + first + 1);
        const __m512i draws = _mm512_loadu_si512(thresholds.draws.data() + first);
        hour.always[vector] = firesAlways(draws);
        always = _kor_mask16(always, hour.always[vector]);
        hour.raw[vector] = rawThreshold(draws);
    }
    const LcgJump jump = quietHourJump(thresholds);
    QuietRun run{0, hourSeed, {}};
    unsigned bits[vectors];
    if (always != 0) {
        hour.fired(run.seed, bits);
        hour.carry(bits, run);
        return run;
    }
    if constexpr (join == MaskJoin::maskChain) {
        __m512i x[vectors];
        for (; run.hours < limit && hour.quiet(run.seed, x); ++run.hours)
            run.seed = jumpSeed(jump, run.seed);
        if (run.hours < limit) {
            hour.firedIn(x, bits);
            hour.carry(bits, run);
        }
        return run;
    }
    for (; run.hours < limit; ++run.hours) {
        if (hour.fired(run.seed, bits)) {
            hour.carry(bits, run);
            break;
        }
        run.seed = jumpSeed(jump, run.seed);
    }
    return run;
}

// Larger hours read their jumps and thresholds from memory (the first level
// cache) in every hour.
ADEQUACY_AVX512 QuietRun scanFromMemory(const LaneThresholds& thresholds, std::uint32_t hourSeed,
                                        int limit) {
    const LcgJump hour = quietHourJump(thresholds);
    QuietRun run{0, hourSeed, {}};
    for (; run.hours < limit; ++run.hours) {
        const __m512i seed = _mm512_set1_epi32(static_cast<int>(run.seed));
        __mmask16 any = 0;
        for (int first = 0; first < thresholds.lanes; first += width)
            any = static_cast<__mmask16>(any | firesAt(thresholds, seed, first, 0));
        if (any != 0) break;
        run.seed = jumpSeed(hour, run.seed);
    }
    if (run.hours < limit) carryFiredWords(thresholds, run, checkWord);
    return run;
}

// The lanes after `lane` of an hour of `vectors` vectors (at most two words)
// that fire with the given shift. Every vector is checked: a loop from the
// lane's own vector would end at a branch that is seldom foreseen.
template <int vectors>
ADEQUACY_AVX512 LaneWords checkAfter(const LaneThresholds& thresholds, std::uint32_t hourSeed,
                                     int shift, int lane) {
    static_assert(vectors * width <= 64 * carriedWords);
    const __m512i seed = _mm512_set1_epi32(static_cast<int>(hourSeed));
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    for (int vector = 0; vector < vectors; ++vector) {
        const int first = vector * width;
        const std::uint64_t fired = firesAt(thresholds, seed, first, shift);
        if (first < 64)
            low |= fired << first;
        else
            high |= fired << (first - 64);
    }
    return LaneWords{low, high}.after(lane);
}

// A lane's threshold is written as the whole vector that holds it: the scan
// that follows reads whole vectors, and a whole vector read after a write of
// one lane would wait for that write to reach the cache.
ADEQUACY_AVX512 void setThreshold(LaneThresholds& thresholds, int lane, std::int32_t draws) {
    std::int32_t* const vector = thresholds.draws.data() + lane / width * width;
    const auto bit = static_cast<__mmask16>(1u << (lane % width));
    _mm512_store_si512(vector, _mm512_mask_set1_epi32(_mm512_load_si512(vector), bit, draws));
}

// The lanes of words 0 and 1 as one set, from the bits of each vector.
template <int vectors>
ADEQUACY_AVX512 inline LaneWords wordsOf(const unsigned (&bits)[vectors]) {
    std::uint64_t words[carriedWords] = {0, 0};
    for (int vector = 0; vector < vectors; ++vector)
        words[vector / 4] |= std::uint64_t{bits[vector]} << (16 * (vector % 4));
    return {words[0], words[1]};
}

// The lanes of vector `vector` among a set, as its mask.
ADEQUACY_AVX512 inline __mmask16 maskOf(LaneWords lanes, int vector) {
    const std::uint64_t word = vector < 4 ? lanes.low : lanes.high;
    return static_cast<__mmask16>(word >> (16 * (vector % 4)));
}

// A year whose hours fit in registers keeps its jumps and raw thresholds
// there from its first hour to its last: an event changes the thresholds in
// the registers, and the scan goes on from them with nothing to load. A unit
// lane has one threshold when up and one when down, so a unit that changes
// swaps them: its raw threshold is xor-ed with their difference.
template <int vectors>
struct RegisterYear {
    HourInRegisters<vectors> hour;
    alignas(64) std::uint32_t swaps[vectors * width];
    __mmask16 tie[vectors];
    int tieLane;

    ADEQUACY_AVX512 void swap(LaneWords changed) {
        for (int vector = 0; vector < vectors; ++vector)
            hour.raw[vector] =
                _mm512_mask_xor_epi32(hour.raw[vector], maskOf(changed, vector), hour.raw[vector],
                                      _mm512_load_si512(swaps + vector * width));
    }

    ADEQUACY_AVX512 void setTie(std::int32_t draws) {
        const __m512i raw = rawThreshold(_mm512_set1_epi32(draws));
        for (int vector = 0; vector < vectors; ++vector)
            hour.raw[vector] = _mm512_mask_mov_epi32(hour.raw[vector], tie[vector], raw);
    }

    // The lanes after `lane` that fire from `seed`.
    ADEQUACY_AVX512 LaneWords firedAfter(std::uint32_t seed, int lane) const {
        unsigned bits[vectors];
        hour.fired(seed, bits);
        return wordsOf(bits).after(lane);
    }
};

template <int vectors>
ADEQUACY_AVX512 void startRegisterYear(const FastYearPlan& plan, const LaneThresholds& thresholds,
                                       RegisterYear<vectors>& year) {
    year.tieLane = thresholds.tieLane;
    for (int lane = 0; lane < vectors * width; ++lane) {
        const auto u = static_cast<std::size_t>(lane);
        year.swaps[u] = lane < thresholds.tieLane
                            ? (static_cast<std::uint32_t>(plan.failDraws[u]) ^
                               static_cast<std::uint32_t>(plan.repairDraws[u]))
                                  << ranDiscardedBits
                            : 0u;
    }
    for (int vector = 0; vector < vectors; ++vector) {
        const int first = vector * width;
        year.hour.a[vector] = _mm512_loadu_si512(jumpTable.multiplier.data() + first + 1);
        year.hour.c[vector] = _mm512_loadu_si512(jumpTable.increment.data() + first + 1);
        year.hour.raw[vector] = rawThreshold(_mm512_load_si512(thresholds.draws.data() + first));
        year.hour.always[vector] = 0;
        const int bit = year.tieLane - first;
        year.tie[vector] = static_cast<__mmask16>(bit >= 0 && bit < width ? 1u << bit : 0u);
    }
}

// The lanes keep their thresholds in registers: the ones in memory are left
// as the year began.
struct ThresholdsInRegisters {
    static void setThreshold(LaneThresholds&, int, std::int32_t) {}
};

// replaySmallHour with the thresholds in registers.
template <int vectors>
ADEQUACY_AVX512 bool replayInRegisters(const SimulationInputs& inputs, const FastYearPlan& plan,
                                       LaneWords fired, RegisterYear<vectors>& year,
                                       LaneState& lanes, SimulationState& state) {
    const std::uint32_t hourSeed = state.ranSeed;
    int shift = 0;
    LaneWords changed{0, 0};
    while ((fired.low | fired.high) != 0) {
        const int lane = fired.first();
        fired.dropFirst();
        const std::uint32_t seed = seedAfter(hourSeed, lane + shift);
        if (lane == year.tieLane) {
            year.swap(changed);
            const bool stepped = stepTie<ThresholdsInRegisters>(inputs, plan, seed, lanes, state);
            year.setTie(tieThreshold(plan, state.tie.atcState));
            return stepped;
        }
        changed.add(lane);
        if (stepFiredUnit<ThresholdsInRegisters>(inputs, plan, lane, seed, lanes, state)) {
            shift += 1;
            fired = year.firedAfter(seedAfter(hourSeed, shift), lane);
        }
    }
    year.swap(changed);
    closeHour(hourSeed, shift, lanes, state);
    return true;
}

// The quiet hours from `seed` on, at most `limit`; leaves in `fired` the
// lanes that fire in the hour that ends the run.
template <int vectors, MaskJoin join>
[[gnu::always_inline]] ADEQUACY_AVX512 inline int scanYear(const RegisterYear<vectors>& year,
                                                           LcgJump jump, std::uint32_t& seed,
                                                           int limit, LaneWords& fired) {
    unsigned bits[vectors];
    int hours = 0;
    if constexpr (join == MaskJoin::maskChain) {
        __m512i x[vectors];
        for (; hours < limit && year.hour.quiet(seed, x); ++hours) seed = jumpSeed(jump, seed);
        if (hours < limit) {
            year.hour.firedIn(x, bits);
            fired = wordsOf(bits);
        }
        return hours;
    }
    for (; hours < limit; ++hours) {
        if (year.hour.fired(seed, bits)) {
            fired = wordsOf(bits);
            break;
        }
        seed = jumpSeed(jump, seed);
    }
    return hours;
}

// fastYear with the thresholds in registers.
template <int vectors, MaskJoin join>
ADEQUACY_AVX512 std::optional<YearRecords> yearInRegisters(const SimulationInputs& inputs,
                                                           const FastYearPlan& plan,
                                                           SimulationState& state) {
    LaneState lanes = laneState(inputs, plan, state);
    RegisterYear<vectors> year;
    startRegisterYear(plan, lanes.thresholds, year);
    const LcgJump jump = quietHourJump(lanes.thresholds);
    state.yearCount += 1;
    YearTallies tallies;
    for (int index = 0, tested = 0;;) {
        LaneWords fired{0, 0};
        std::uint32_t seed = state.ranSeed;
        const int hours = scanYear<vectors, join>(year, jump, seed, hoursPerYear - index, fired);
        state.ranSeed = seed;
        state.tie.atcStateHours[state.tie.atcState - 1] += hours;
        index += hours;
        testHours(inputs, plan, lanes, tested, index, state, tallies);
        if (index == hoursPerYear) break;

        if (!replayInRegisters(inputs, plan, fired, year, lanes, state)) return std::nullopt;
        tested = index;
        index += 1;
        if (index == hoursPerYear) {
            testHours(inputs, plan, lanes, tested, index, state, tallies);
            break;
        }
    }
    closeYear(tallies.system, state.system);
    closeYear(tallies.area1, state.area1);
    return yearRecords(state);
}

template <int vectors, MaskJoin join>
std::optional<YearRecords> registerOrFastYear(const SimulationInputs& inputs,
                                              const FastYearPlan& plan, SimulationState& state) {
    if (!plan.rawThresholds)
        return fastYear<ChecksOf<scanInRegisters<vectors, join>, checkWord, setThreshold,
                                 checkAfter<vectors>>>(inputs, plan, state);
    return yearInRegisters<vectors, join>(inputs, plan, state);
}

// Hours of a few vectors keep them in registers through each run; larger
// ones read them from memory.
template <int vectors, MaskJoin join>
using InRegisters =
    ChecksOf<scanInRegisters<vectors, join>, checkWord, setThreshold, checkAfter<vectors>>;

template <int vectors, MaskJoin join>
HourSteps registerSteps() {
    HourSteps steps = stepsWith<InRegisters<vectors, join>>();
    steps.year = registerOrFastYear<vectors, join>;
    return steps;
}
using FromMemory = ChecksOf<scanFromMemory, checkWord, setThreshold>;

template <MaskJoin join>
HourSteps stepsOf(int lanes) {
    static_assert(registerVectors == 8);
    switch (lanes / width) {
        case 1:
            return registerSteps<1, join>();
        case 2:
            return registerSteps<2, join>();
        case 3:
            return registerSteps<3, join>();
        case 4:
            return registerSteps<4, join>();
        case 5:
            return registerSteps<5, join>();
        case 6:
            return registerSteps<6, join>();
        case 7:
            return registerSteps<7, join>();
        case 8:
            return registerSteps<8, join>();
        default:
            return stepsWith<FromMemory>();
    }
}

template <MaskJoin join>
QuietRun scanQuietHours(const LaneThresholds& thresholds, std::uint32_t hourSeed, int limit) {
    return stepsOf<join>(thresholds.lanes).scan(thresholds, hourSeed, limit);
}

#undef ADEQUACY_AVX512

}  // namespace

HourChecks avx512HourChecks(MaskJoin join) {
    if (join == MaskJoin::maskChain)
        return HourChecks{checkWord, scanQuietHours<MaskJoin::maskChain>, nextLossHourAvx512,
                          stepsOf<MaskJoin::maskChain>};
    return HourChecks{checkWord, scanQuietHours<MaskJoin::generalRegisters>, nextLossHourAvx512,
                      stepsOf<MaskJoin::generalRegisters>};
}

// The chain of compares leaves no work for the multiplier's port on Intel,
// where moving a mask to a general register takes that port; on AMD the
// chain of compares is the slower, by a third here (EPYC, Zen 5).
HourChecks avx512HourChecks() {
    __builtin_cpu_init();
    return avx512HourChecks(__builtin_cpu_is("intel") ? MaskJoin::maskChain
                                                      : MaskJoin::generalRegisters);
}

bool avx512Available() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f");
}

#else

HourChecks avx512HourChecks(MaskJoin) { return scalarHourChecks(); }
HourChecks avx512HourChecks() { return scalarHourChecks(); }
bool avx512Available() { return false; }

#endif

}  // namespace adequacy
