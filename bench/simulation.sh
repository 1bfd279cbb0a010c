#!/usr/bin/env bash
# Simulated years per second: the whole release program with scripted answers
# for 1,000, 10,000 and 100,000 years, and the year loops alone (the
# reference loop for 1,000 years, the fast loop for 100,000, each other path
# of the fast loop this processor has, and the fast loop on a system four
# times the built-in one, 44 blocks of 440 units, for 25,000; and the fast
# loop on the built-in system with no events, for 20,000: the cost of drawing
# and checking every hour's lanes alone), in one run.
#   bench/simulation.sh [BUILD_DIR]    (default build/release)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
program=$build/adequacy
loops=$build/bench/year_loops
for binary in "$program" "$loops"; do
    [[ -x $binary ]] || { echo "missing $binary: build it first: cmake --build --preset release-all" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

now() { date +%s.%N; }
rate() { awk -v y="$1" -v s="$2" 'BEGIN { printf "%.1f", y / s }'; }

echo "processor: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
printf '%-34s %9s %10s %12s\n' "run" "years" "seconds" "years/s"

reference=$("$loops" reference 1000)
reference_seconds=$(awk '{ print $4 }' <<<"$reference")
reference_rate=$(rate 1000 "$reference_seconds")
printf '%-34s %9d %10.3f %12s\n' "reference loop" 1000 "$reference_seconds" "$reference_rate"

fast=$("$loops" fast 100000)
fast_seconds=$(awk '{ print $4 }' <<<"$fast")
fast_rate=$(rate 100000 "$fast_seconds")
printf '%-34s %9d %10.3f %12s\n' "fast loop" 100000 "$fast_seconds" "$fast_rate"

# Every other path this processor has, to see that none loses: the AVX-512
# checks with each way of joining the masks, AVX2 and the portable checks.
for path in avx512-or avx512-chain avx2 scalar; do
    years=20000
    [[ $path == scalar ]] && years=2000
    timed=$("$loops" "$path" "$years" 2>/dev/null) || continue
    seconds=$(awk '{ print $4 }' <<<"$timed")
    printf '%-34s %9d %10.3f %12s\n' "fast loop, $path" "$years" "$seconds" "$(rate "$years" "$seconds")"
done

quiet=$("$loops" fast 20000 11 quiet)
quiet_seconds=$(awk '{ print $4 }' <<<"$quiet")
printf '%-34s %9d %10.3f %12s\n' "fast loop, no events" 20000 "$quiet_seconds" \
    "$(rate 20000 "$quiet_seconds")"

large=$("$loops" fast 25000 44)
large_seconds=$(awk '{ print $4 }' <<<"$large")
printf '%-34s %9d %10.3f %12s\n' "fast loop, 440 units" 25000 "$large_seconds" \
    "$(rate 25000 "$large_seconds")"

program_rate=0
for years in 1000 10000 100000; do
    start=$(now)
    (cd "$work" && printf '\n\n%d\n\n' "$years" | "$program" >console 2>errors)
    seconds=$(awk -v a="$start" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }')
    grep -q " $years yrs" "$work/console" || { echo "no report after $years years" >&2; exit 1; }
    program_rate=$(rate "$years" "$seconds")
    printf '%-34s %9d %10.3f %12s\n' "whole program, wall time" "$years" "$seconds" "$program_rate"
done

echo
echo "fast loop / reference loop:            $(awk -v a="$fast_rate" -v b="$reference_rate" 'BEGIN { printf "%.1f", a / b }')x"
echo "whole program (100,000) / reference:   $(awk -v a="$program_rate" -v b="$reference_rate" 'BEGIN { printf "%.1f", a / b }')x"
echo "fast loop, microseconds per year:       $(awk -v s="$fast_seconds" 'BEGIN { printf "%.1f", s / 100000 * 1e6 }') (110 units), $(awk -v s="$large_seconds" 'BEGIN { printf "%.1f", s / 25000 * 1e6 }') (440 units)"
echo "fast loop with no events, us per year:  $(awk -v s="$quiet_seconds" 'BEGIN { printf "%.1f", s / 20000 * 1e6 }') (drawing and checking the 8,760 hours alone)"
