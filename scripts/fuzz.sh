#!/usr/bin/env bash
# Builds the fuzz preset, runs its tests (the committed corpora among them), then runs every
# fuzz target for N seconds each (default 60; the first argument overrides) and fails on any
# crash. A target tests/fuzz/.../<name>_fuzzer starts from tests/fuzz/corpus/<name>/, copied into
# build/fuzz/corpus/<name>/, where what it finds is kept for the next run; a crash is saved under
# build/fuzz/artifacts/<name>/. To keep a crash fixed, copy its file into the committed corpus.
# Memory is limited: a target that holds more than 256 MB, or asks for 32 MB at once, has failed
# (the sanitizer's quarantine of freed memory is kept to 32 MB so that this measures the target).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
case "$seconds" in
'' | *[!0-9]*)
    echo "usage: $0 [seconds per fuzz target]" >&2
    exit 2
    ;;
esac

scripts/install-deps.sh test
cmake --preset fuzz -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz

shopt -s nullglob
fuzzers=(build/fuzz/tests/fuzz/*_fuzzer)
if [ ${#fuzzers[@]} -eq 0 ]; then
    echo "no fuzz targets in build/fuzz/tests/fuzz" >&2
    exit 1
fi

failed=()
for fuzzer in "${fuzzers[@]}"; do
    name=$(basename "$fuzzer" _fuzzer)
    corpus=build/fuzz/corpus/$name
    artifacts=build/fuzz/artifacts/$name
    mkdir -p "$corpus" "$artifacts"
    if [ -d "tests/fuzz/corpus/$name" ]; then
        cp -n "tests/fuzz/corpus/$name"/* "$corpus"/ 2>/dev/null || true
    fi
    echo "== $name: ${seconds} s from $(find "$corpus" -type f | wc -l) inputs"
    if ! ASAN_OPTIONS=quarantine_size_mb=32 "$fuzzer" -max_total_time="$seconds" \
        -rss_limit_mb=256 -malloc_limit_mb=32 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" >"build/fuzz/$name.log" 2>&1; then
        tail -n 40 "build/fuzz/$name.log" >&2
        failed+=("$name")
        continue
    fi
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "build/fuzz/$name.log" ||
        true
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzzing found a crash in: ${failed[*]} (inputs under build/fuzz/artifacts/)" >&2
    exit 1
fi
echo "fuzzing: no crash in ${#fuzzers[@]} target(s), ${seconds} s each"
