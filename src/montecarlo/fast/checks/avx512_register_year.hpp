#pragma once
// A year of the AVX-512 checks whose hours fit in registers (see
// avx512_lanes.hpp), kept there from its first hour to its last. Included by
// the AVX-512 checks after year_steps.hpp.

#include <immintrin.h>

#include <cstdint>

#include "montecarlo/fast/checks/avx512_lanes.hpp"
#include "montecarlo/fast/fast_year.hpp"
#include "montecarlo/fast/hour_lanes.hpp"
#include "montecarlo/fast/lcg_jump.hpp"
#include "montecarlo/fast/year_steps.hpp"

namespace adequacy {
namespace {

// A year whose hours fit in registers keeps its jumps and raw thresholds
// from its first hour to its last: an event changes the raw thresholds where
// they are, and the scan after it starts from them as they stand, with no
// thresholds to convert and no lane that always fires to look for (a plan
// with such a threshold is left to fastYear). A unit lane has one threshold
// when up and one when down, so a unit that changes swaps them: its raw
// threshold is xor-ed with their difference. The general-register join swaps
// them in the registers, once an hour, with a mask per vector; the chain
// swaps each in memory and loads the registers again, which costs Intel's
// busiest port two instructions a change rather than two a vector (2% of a
// year on a Xeon).
template <int vectors>
struct RegisterYear {
    HourInRegisters<vectors> hour;
    alignas(64) std::uint32_t swaps[vectors * width];
    __mmask16 tie[vectors];
    int tieLane;
    // The raw draws of the hour being replayed, lane j at position j + 1 +
    // the second draws taken so far in the hour, where the scan keeps them
    // (MaskJoin::maskChain).
    __m512i x[vectors];

    ADEQUACY_AVX512 void swap(LaneWords changed) {
        for (int vector = 0; vector < vectors; ++vector)
            hour.raw[vector] =
                _mm512_mask_xor_epi32(hour.raw[vector], maskOf(changed, vector), hour.raw[vector],
                                      _mm512_load_si512(swaps + vector * width));
    }

    // The raw thresholds as they stand, for the chain: a lane that changes
    // rewrites its vector here, and the registers are loaded from here once
    // the hour is replayed. Whole vectors are stored, so that the loads that
    // follow are served by the stores.
    alignas(64) std::uint32_t rawInMemory[vectors * width];

    ADEQUACY_AVX512 void swapLane(int lane) {
        const int first = lane & ~(width - 1);
        const auto bit = static_cast<__mmask16>(1u << (lane % width));
        const __m512i raw = _mm512_load_si512(rawInMemory + first);
        _mm512_store_si512(rawInMemory + first,
                           _mm512_mask_xor_epi32(raw, bit, raw, _mm512_load_si512(swaps + first)));
    }

    ADEQUACY_AVX512 void loadRaw() {
        for (int vector = 0; vector < vectors; ++vector)
            hour.raw[vector] = _mm512_load_si512(rawInMemory + vector * width);
    }

    // A lane's unit changes: its thresholds are swapped now, or at the end
    // of the hour with the others in `changed`.
    template <MaskJoin join>
    ADEQUACY_AVX512 void change(int lane, LaneWords& changed) {
        if constexpr (join == MaskJoin::maskChain)
            swapLane(lane);
        else
            changed.add(lane);
    }

    // Brings the registers up to the changes of the hour.
    template <MaskJoin join>
    ADEQUACY_AVX512 void settle(LaneWords changed) {
        if constexpr (join == MaskJoin::maskChain)
            loadRaw();
        else
            swap(changed);
    }

    ADEQUACY_AVX512 void setTie(std::int32_t draws) {
        const __m512i raw = rawThreshold(_mm512_set1_epi32(draws));
        for (int vector = 0; vector < vectors; ++vector)
            hour.raw[vector] = _mm512_mask_mov_epi32(hour.raw[vector], tie[vector], raw);
        for (int vector = 0; vector < vectors; ++vector)
            _mm512_store_si512(rawInMemory + vector * width, hour.raw[vector]);
    }

    // The lanes after `lane` that fire from `seed`.
    ADEQUACY_AVX512 LaneWords firedAfter(std::uint32_t seed, int lane) const {
        unsigned bits[vectors];
        hour.fired(seed, bits);
        return wordsOf(bits).after(lane);
    }

    // The lanes after `lane` that fire once a lane has stepped, found
    // without drawing again. After a second draw (`moved`) lane j takes the
    // draw of lane j + 1 and the last lane the draw `next`; otherwise the
    // draws stay where they are (`moved` 0).
    ADEQUACY_AVX512 LaneWords firedAfterStep(int moved, std::uint32_t next, int lane) {
        const auto move = static_cast<__mmask16>(-moved);
        for (int vector = 0; vector + 1 < vectors; ++vector)
            x[vector] = _mm512_mask_alignr_epi32(x[vector], move, x[vector + 1], x[vector], 1);
        x[vectors - 1] = _mm512_mask_alignr_epi32(
            x[vectors - 1], move, _mm512_set1_epi32(static_cast<int>(next)), x[vectors - 1], 1);
        unsigned bits[vectors];
        hour.firedIn(x, bits);
        return wordsOf(bits).after(lane);
    }
};

// Inlined, so that the year's vectors have no address and can stay in
// registers from the scan to the replay and back.
template <int vectors>
[[gnu::always_inline]] ADEQUACY_AVX512 inline void startRegisterYear(
    const FastYearPlan& plan, const LaneThresholds& thresholds, RegisterYear<vectors>& year) {
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
        _mm512_store_si512(year.rawInMemory + first, year.hour.raw[vector]);
        year.hour.always[vector] = 0;
        year.x[vector] = _mm512_setzero_si512();
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
template <int vectors, MaskJoin join>
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
            year.template settle<join>(changed);
            const bool stepped = stepTie<ThresholdsInRegisters>(inputs, plan, seed, lanes, state);
            year.setTie(tieThreshold(plan, state.tie.atcState));
            return stepped;
        }
        year.template change<join>(lane, changed);
        const int fails =
            stepFiredUnit<ThresholdsInRegisters>(inputs, plan, lane, seed, lanes, state) ? 1 : 0;
        if constexpr (join == MaskJoin::maskChain) {
            // The chain's scan keeps the hour's draws, so the lanes after a
            // second draw are found without a multiply (the slow instruction
            // on Intel), and cheaply enough to find them after a repair too:
            // a branch on failure or repair, which come in no order, would
            // be mispredicted every other event.
            shift += fails;
            fired = year.firedAfterStep(fails, seedAfter(hourSeed, vectors * width + shift), lane);
        } else if (fails) {
            // Keeping the draws in this join's scan cost AMD more (1 to 3%)
            // than moving them saved.
            shift += 1;
            fired = year.firedAfter(seedAfter(hourSeed, shift), lane);
        }
    }
    year.template settle<join>(changed);
    closeHour(hourSeed, shift, lanes, state);
    return true;
}

// The quiet hours from `seed` on, at most `limit`; leaves `seed` at the hour
// after them and in `fired` the lanes that fire there.
template <int vectors, MaskJoin join>
[[gnu::always_inline]] ADEQUACY_AVX512 inline int scanYear(RegisterYear<vectors>& year,
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
            for (int vector = 0; vector < vectors; ++vector) year.x[vector] = x[vector];
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

// fastYear with the thresholds in registers. Its loop is fastYear's, written
// out again: the two differ in how a run's seed and lanes reach the replay,
// and each is the faster one for its own loop (by 2 to 8%, EPYC Zen 5), so
// neither takes the other's.
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

        if (!replayInRegisters<vectors, join>(inputs, plan, fired, year, lanes, state))
            return std::nullopt;
        if (endsYearAfterEvent(inputs, plan, lanes, index, tested, state, tallies)) break;
    }
    return closeFastYear(tallies, state);
}

}  // namespace
}  // namespace adequacy
