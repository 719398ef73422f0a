#!/usr/bin/env bash
# Builds a preset (release unless named) and runs every measurement, section by section, on this
# machine; the figures and the machine they came from go into BENCHMARKS.md by hand.
#
#   scripts/bench.sh [--short] [preset]
#
# Each figure of the game stands beside its baseline from the same run, and each target is
# checked: a missed one makes the script fail. --short runs a few of each, says how the targets
# stand without enforcing them, and takes about a minute (CI runs it on the debug build).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/xvfb.sh
source scripts/xvfb.sh
# shellcheck source=scripts/targets.sh
source scripts/targets.sh

short=false
if [ "${1:-}" = --short ]; then
    short=true
    shift
fi
preset=${1:-release}
if $short; then
    : "${BENCH_RUNS:=3}" "${BENCH_SECONDS:=2}" "${BENCH_KEYS:=5}" "${BENCH_FAST:=500}"
    : "${BENCH_SLOW:=2}"
    engine_args=(--benchmark_min_time=0.01)
else
    : "${BENCH_RUNS:=31}" "${BENCH_SECONDS:=10}" "${BENCH_KEYS:=41}" "${BENCH_FAST:=5000}"
    : "${BENCH_SLOW:=20}"
    engine_args=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true
        --benchmark_min_time=0.2)
fi

scripts/install-deps.sh test
cmake --preset "$preset" -DTAMLO_BUILD_BENCHMARKS=ON >/dev/null
bin=build/$preset
game=$bin/app/qt/tamlo-qt350

echo "== machine"
echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "cpus: $(nproc), load: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "commit: $(git rev-parse --short HEAD 2>/dev/null || echo unknown), preset: $preset"

# Engine: time and allocations per operation (Google Benchmark, one operation per iteration).
echo "== engine"
cmake --build --preset "$preset" --target engine_bench >/dev/null
"$bin/bench/engine_bench" "${engine_args[@]}" | grep -v "_cv "

# The rest measures the real program and bare Qt windows side by side on one X server, all in
# one environment: no session bus (as the game has none here, it starts none, and neither does
# a bare window then), so that nothing is left running either.
cmake --build --preset "$preset" --target tamlo-qt350 bare_window startup_probe \
    march_timer_bench >/dev/null
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
start_xvfb "$work"
export DBUS_SESSION_BUS_ADDRESS=disabled:

declare -A ratios
# Median of the numbers on standard input.
median() {
    sort -g | awk '{ v[NR] = $1 }
        END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# The value of key=value in a probe's or a benchmark's line.
field() { tr ' ' '\n' | sed -n "s/^$1=//p"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

# Start-up: exec to the first mapped window, and resident memory half a second later; then the
# time from a Left key press to the window's pixels changing. The game, the bare window with
# plain labels and the bare window with the game's faces take turns, so all see the same machine.
echo "== start-up and key response (${BENCH_RUNS} runs each, interleaved)"
"$bin/bench/startup_probe" -- "$game" >/dev/null 2>&1 # warms the file cache
for _ in $(seq "$BENCH_RUNS"); do
    "$bin/bench/startup_probe" --key-presses "$BENCH_KEYS" -- "$game" 2>/dev/null >>"$work/game"
    "$bin/bench/startup_probe" --key-presses "$BENCH_KEYS" -- "$bin/bench/bare_window" \
        2>/dev/null >>"$work/bare"
    "$bin/bench/startup_probe" --key-presses "$BENCH_KEYS" -- "$bin/bench/bare_window" --faces \
        2>/dev/null >>"$work/faces"
done
for what in map_ms map_cpu_ms rss_kib key_ms; do
    game_v=$(field "$what" <"$work/game" | median)
    bare_v=$(field "$what" <"$work/bare" | median)
    faces_v=$(field "$what" <"$work/faces" | median)
    printf '%-10s median game %9.3f  bare %9.3f  bare with faces %9.3f  game/bare %s  ' \
        "$what" "$game_v" "$bare_v" "$faces_v" "$(ratio "$game_v" "$bare_v")"
    echo "game/faces $(ratio "$game_v" "$faces_v")"
    ratios["$what"]=$(ratio "$game_v" "$faces_v")
done
check "start-up, game / bare with faces" "${ratios[map_ms]}" 1.02
check "memory, game / bare with faces" "${ratios[rss_kib]}" 1.01

# Idle cost: CPU time after start, the game at level 1 against the bare window rewriting its
# line edit every second.
echo "== idle CPU over ${BENCH_SECONDS} s"
"$bin/bench/startup_probe" --cpu-seconds "$BENCH_SECONDS" -- "$game" 2>/dev/null |
    sed 's/^/game: /'
"$bin/bench/startup_probe" --cpu-seconds "$BENCH_SECONDS" -- "$bin/bench/bare_window" --faces \
    --timer-ms 1000 2>/dev/null | sed 's/^/bare: /'

# March timer: the real TimerLevel at 1000 ms and at 2 ms against bare timers in the same
# process, the game and the bare timers taking turns.
echo "== march timer"
"$bin/bench/march_timer_bench" --slow-periods "$BENCH_SLOW" --fast-periods "$BENCH_FAST" \
    2>/dev/null | tee "$work/march"
fast() { grep "^$1 *interval=2 " "$work/march" | field "$2"; }
for what in median p99 cpu_per_10s; do
    ratios["$what"]=$(ratio "$(fast game "$what")" "$(fast bare_qtimer "$what")")
done
check "2 ms march median, game / bare QTimer" "${ratios[median]}" 1.02
check "2 ms march p99, game / bare QTimer" "${ratios[p99]}" 1.2
check "2 ms march CPU, game (less the bot) / bare QTimer" "${ratios[cpu_per_10s]}" 1.2

end_targets "$short"
