#!/usr/bin/env bash
# Builds the windows preset and measures the Windows program under 64-bit Wine on its own X server
# with a window manager: the game's own TimerLevel at 2 ms against a bare high-resolution timer,
# then start-up of the game against a bare Win32 window. The figures go into BENCHMARKS.md by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/xvfb.sh
source scripts/xvfb.sh

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
echo "== march timer at 2 ms (${BENCH_STRETCHES:=500} stretches of 6 ticks), three rounds"
for _ in 1 2 3; do
    wine "$bin/bench/win32/win32_bench.exe" timer "$BENCH_STRETCHES" | tr -d '\r'
done
echo "== start-up (${BENCH_RUNS:=15} runs each, interleaved)"
wine "$bin/bench/win32/win32_bench.exe" startup "$BENCH_RUNS" \
    "$(winepath -w "$bin/app/win32/tamlo-qt350.exe")" \
    "$(winepath -w "$bin/bench/win32/bare_window.exe")" | tr -d '\r'
