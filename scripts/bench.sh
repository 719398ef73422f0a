#!/usr/bin/env bash
# Builds the release preset and runs every measurement, section by section, on this machine.
# The figures and the machine they came from go into BENCHMARKS.md by hand.
set -euo pipefail
cd "$(dirname "$0")/.."

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
