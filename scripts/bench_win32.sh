#!/usr/bin/env bash
# Builds the windows preset and measures the Windows program under 64-bit Wine on its own X server
# with a window manager: the game's own TimerLevel at 2 ms against a bare high-resolution timer,
# then start-up of the game against a bare Win32 window. The figures go into BENCHMARKS.md by hand.
#
#   scripts/bench_win32.sh [--short]
#
# Each target is checked on every round, and a missed one makes the script fail. --short runs one
# short round and a few start-ups, says how the targets stand without enforcing them (CI).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/xvfb.sh
source scripts/xvfb.sh
# shellcheck source=scripts/targets.sh
source scripts/targets.sh

short=false
rounds=3
if [ "${1:-}" = --short ]; then
    short=true
    rounds=1
    : "${BENCH_STRETCHES:=50}" "${BENCH_RUNS:=3}"
fi

scripts/install-deps.sh test
cmake --preset windows >/dev/null
cmake --build --preset windows --target tamlo-qt350 win32_bench bare_window >/dev/null
bin=$PWD/build/windows

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null; kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
start_xvfb "$work"
openbox >/dev/null 2>&1 &
wineboot -i >/dev/null 2>&1

echo "== machine"
echo "date: $(date -u '+%Y-%m-%d %H:%M UTC'), cpus: $(nproc), $(wine --version)"
echo "commit: $(git rev-parse --short HEAD 2>/dev/null || echo unknown)"
echo "== march timer at 2 ms (${BENCH_STRETCHES:=500} stretches of 6 ticks), $rounds round(s)"
# The ratio game / bare of one figure of a round's report (bare waited on alone, or with the
# message queue when the second argument is 3, the line of that report).
ratio() {
    awk -v f="$1" -v d="${2:-2}" '{
            for (i = 1; i <= NF; ++i) if ($i ~ "^" f "=") { sub(".*=", "", $i); v[NR] = $i }
        }
        END { printf "%.3f", v[1] / v[d] }' "$work/round"
}
for _ in $(seq "$rounds"); do
    wine "$bin/bench/win32/win32_bench.exe" timer "$BENCH_STRETCHES" | tr -d '\r' |
        tee "$work/round"
    check "2 ms march mean, game / bare" "$(ratio mean)" 1.01
    check "2 ms march median, game / bare" "$(ratio median)" 1.01
    check "2 ms march p99, game / bare" "$(ratio p99)" 1.5
    echo "game / bare waited with the message queue (no target): mean $(ratio mean 3)," \
        "median $(ratio median 3), p99 $(ratio p99 3)"
done
echo "== start-up (${BENCH_RUNS:=15} runs each, interleaved)"
wine "$bin/bench/win32/win32_bench.exe" startup "$BENCH_RUNS" \
    "$(winepath -w "$bin/app/win32/tamlo-qt350.exe")" \
    "$(winepath -w "$bin/bench/win32/bare_window.exe")" | tr -d '\r'

end_targets "$short"
