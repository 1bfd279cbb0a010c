#!/usr/bin/env bash
# Where a year of the fast loop goes, by sampling: `perf record` runs
# year_loops, and its samples are split into the quiet-hour loop (the loop of
# the year function densest in multiplies, or the scan where that is a
# function of its own), the hours with events (the rest of the year function,
# with the end of each quiet run and the start of the next, and the replays
# and loss-of-load tests wherever the compiler put them), the loss-of-load
# scans and the rest. A mispredicted branch is paid for by the instructions
# after it, so the samples of a run's end fall on the events. Each share is
# given in microseconds per year of an unprofiled run of
# the same loop. Needs `perf` (Debian's linux-perf) and the permission to
# sample (kernel.perf_event_paranoid of 2 or less, or root).
#   bench/year_profile.sh [LOOP [YEARS [BLOCKS [BUILD_DIR]]]]
# LOOP and BLOCKS are year_loops' (default fast and 11, the built-in system),
# YEARS the years sampled (default 20000), BUILD_DIR the build (default
# build/release).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
loop=${1:-fast}
years=${2:-20000}
blocks=${3:-11}
build=$(cd "${4:-$root/build/release}" && pwd)
loops=$build/bench/year_loops
[[ -x $loops ]] || { echo "missing $loops: build it first: cmake --build --preset release-all" >&2; exit 2; }
command -v perf >/dev/null || { echo "perf is missing (Debian: linux-perf)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The unprofiled time per year, then the samples.
micros=$("$loops" "$loop" $((years / 4)) "$blocks" | awk '{ print $(NF - 1) }')
perf record -q -e cpu-clock -F 20000 -o "$work/perf.data" "$loops" "$loop" "$years" "$blocks" \
    >/dev/null
perf report -i "$work/perf.data" --stdio --sort symbol 2>/dev/null |
    sed -n 's/^ *\([0-9.]*\)% *\[\.\] *\(.*[^ -]\)[ -]*$/\1\t\2/p' >"$work/symbols"
year=$(awk -F'\t' '$2 ~ /(fastYear|yearInRegisters)</ && $2 !~ /OrFastYear/ { print $2; exit }' \
    "$work/symbols")
[[ -n $year ]] || { echo "no samples in a year loop of $loop" >&2; exit 1; }
perf annotate -i "$work/perf.data" --stdio -s "$year" 2>/dev/null >"$work/annotated"

echo "processor: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "$loop, $blocks blocks: $micros us per year unprofiled; $years years sampled"
echo "year function: $year" | cut -c1-100
awk -F'\t' -v micros="$micros" -v annotated="$work/annotated" '
    function hex(text,    value, i) {
        value = 0
        for (i = 1; i <= length(text); ++i)
            value = value * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
        return value
    }
    # Lines of the annotation: share, address, instruction, operands.
    BEGIN {
        while ((getline line < annotated) > 0) {
            if (!match(line, /^ *[0-9.]+ +: +[0-9a-f]+: +/)) continue
            split(line, field, /[ :]+/)
            n += 1
            share[n] = field[2]
            address[n] = hex(field[3])
            operation[n] = field[4]
            target[n] = operation[n] ~ /^j/ && field[5] ~ /^[0-9a-f]+$/ ? hex(field[5]) : -1
        }
        # The quiet loop: the backward branch over the most multiplies per
        # byte, of two or more.
        best = 0
        low = 1; high = 0
        for (i = 1; i <= n; ++i) {
            if (target[i] < 0 || target[i] >= address[i]) continue
            multiplies = 0
            for (j = 1; j <= n; ++j)
                if (address[j] >= target[i] && address[j] <= address[i] &&
                    operation[j] ~ /mul/) multiplies += 1
            density = multiplies / (address[i] - target[i] + 1)
            if (multiplies >= 2 && density > best) {
                best = density; low = target[i]; high = address[i]
            }
        }
        for (i = 1; i <= n; ++i) {
            total += share[i]
            if (address[i] >= low && address[i] <= high) inLoop += share[i]
        }
    }
    { percent[$2] = $1 }
    $2 ~ /(fastYear|yearInRegisters)</ && $2 !~ /OrFastYear/ && !yearSeen { yearShare = $1; yearSeen = 1; next }
    # A replay names the scan of its checks among its template arguments, so
    # it is looked for first. A scan that is not inlined into the year
    # function is a quiet loop of its own (with the end of its run); a word
    # check serves the replays.
    $2 ~ /[Rr]eplay|stepTie|advanceTie|checkWord|testHour/ { replays += $1; next }
    $2 ~ /scan(QuietHours|InRegisters|FromMemory)/ { scans += $1; next }
    $2 ~ /[Ll]ossHour/ { losses += $1; next }
    { others += $1 }
    END {
        loopShare = total > 0 ? yearShare * inLoop / total : 0
        printf "  %-34s %6.1f us/year\n", "quiet-hour loop", micros * (loopShare + scans) / 100
        printf "  %-34s %6.1f us/year\n", "hours with events", micros * (yearShare - loopShare + replays) / 100
        printf "  %-34s %6.1f us/year\n", "loss-of-load scans", micros * losses / 100
        printf "  %-34s %6.1f us/year\n", "the rest", micros * others / 100
    }' "$work/symbols"
