#!/usr/bin/env bash
# Two builds' year loops timed in turn, round after round, so that a change
# is judged against the same moments of a shared machine: the slow spells of
# a busy host (runs up to a half slower, seen on a KVM Xeon) fall on both
# builds alike. Prints each build's fastest and median microseconds per
# year, and the median and quartiles of the second's time over the first's,
# round by round; a change is real when the quartiles are both on one side
# of 1.
#   bench/compare_loops.sh BUILD_A BUILD_B [LOOP [YEARS [ROUNDS [BLOCKS]]]]
# LOOP, YEARS and BLOCKS are year_loops' (default fast, 1000 and 11), ROUNDS
# the rounds (default 16). Pin it to a core (taskset -c 0) for steadier
# figures.
set -euo pipefail

[[ $# -ge 2 ]] || { sed -n '2,13p' "$0" >&2; exit 2; }
loops=()
for build in "$1" "$2"; do
    binary=$build/bench/year_loops
    [[ -x $binary ]] || { echo "missing $binary: build it there first: cmake --build --preset release-all" >&2; exit 2; }
    loops+=("$binary")
done
loop=${3:-fast}
years=${4:-1000}
rounds=${5:-16}
blocks=${6:-11}

seconds() { "$1" "$loop" "$years" "$blocks" | awk '{ print $4 }'; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for ((round = 0; round < rounds; ++round)); do
    first=$(seconds "${loops[0]}")
    second=$(seconds "${loops[1]}")
    echo "$first $second" >>"$work/rounds"
done

# The q-quantile of a column of the rounds, nearest rank.
quantile() {
    sort -g | awk -v q="$1" '{ v[NR] = $1 } END { i = int(q * (NR - 1) + 0.5) + 1; print v[i] }'
}
micros() { awk -v y="$years" '{ printf "%.1f", $1 / y * 1e6 }'; }

echo "$loop, $years years, $blocks blocks, $rounds rounds; us per year"
for column in 1 2; do
    times=$(awk -v c="$column" '{ print $c }' "$work/rounds")
    printf '%-40s fastest %8s  median %8s\n' "${loops[column - 1]}" \
        "$(quantile 0 <<<"$times" | micros)" "$(quantile 0.5 <<<"$times" | micros)"
done
ratios=$(awk '{ print $2 / $1 }' "$work/rounds")
printf 'second / first: median %.3f, quartiles %.3f to %.3f\n' "$(quantile 0.5 <<<"$ratios")" \
    "$(quantile 0.25 <<<"$ratios")" "$(quantile 0.75 <<<"$ratios")"
