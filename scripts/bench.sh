#!/usr/bin/env bash
# Builds the release preset and runs every measurement, section by section, on this machine.
# The figures and the machine they came from go into BENCHMARKS.md by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/xvfb.sh
source scripts/xvfb.sh

scripts/install-deps.sh test
cmake --preset release -DTAMLO_BUILD_BENCHMARKS=ON >/dev/null

echo "== machine"
echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "cpus: $(nproc)"
echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "commit: $(git rev-parse --short HEAD 2>/dev/null || echo unknown)"

# Engine: time and allocations per operation (Google Benchmark, one operation per iteration).
echo "== engine"
cmake --build --preset release --target engine_bench >/dev/null
build/release/bench/engine_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.2 | grep -v "_cv "

# The rest measures the real program and a bare Qt window side by side on one X server.
cmake --build --preset release --target tamlo-qt350 bare_window startup_probe march_timer_bench >/dev/null
bin=build/release
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
start_xvfb "$work"

# Median of the numbers on standard input.
median() {
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# The value of key=value in a probe's line.
field() { tr ' ' '\n' | sed -n "s/^$1=//p"; }

# Start-up: exec to the first mapped window, and resident memory half a second later; the game
# and the bare window alternate, so both see the same machine.
echo "== start-up (${BENCH_RUNS:=15} runs each, interleaved)"
"$bin/bench/startup_probe" -- "$bin/app/tamlo-qt350" >/dev/null 2>&1 # warms the file cache
for _ in $(seq "$BENCH_RUNS"); do
    "$bin/bench/startup_probe" -- "$bin/app/tamlo-qt350" 2>/dev/null >>"$work/game"
    "$bin/bench/startup_probe" -- "$bin/bench/bare_window" 2>/dev/null >>"$work/bare"
done
for what in map_ms rss_kib; do
    game=$(field "$what" <"$work/game" | median)
    bare=$(field "$what" <"$work/bare" | median)
    awk -v w="$what" -v g="$game" -v b="$bare" \
        'BEGIN { printf "%-8s median game %9.2f  bare %9.2f  game/bare %.3f\n", w, g, b, g / b }'
done

# Idle cost: CPU time over 10 s after start, the game at level 1 against the bare window
# rewriting a label every second.
echo "== idle CPU over 10 s"
"$bin/bench/startup_probe" --cpu-seconds 10 -- "$bin/app/tamlo-qt350" 2>/dev/null |
    sed 's/^/game: /'
"$bin/bench/startup_probe" --cpu-seconds 10 -- "$bin/bench/bare_window" --timer-ms 1000 \
    2>/dev/null | sed 's/^/bare: /'

# March timer: the real TimerLevel at 1000 ms and 2 ms against a bare precise QTimer, three
# rounds.
echo "== march timer"
for round in 1 2 3; do
    echo "round $round"
    "$bin/bench/march_timer_bench" --slow-periods 20 --fast-periods 5000 2>/dev/null
done
