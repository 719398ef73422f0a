#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs the whole test
# suite. An optional argument names another preset (asan, release). With the default preset it
# then builds the Windows program and its ZIP, and tests the program under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=${1:-debug}
scripts/install-deps.sh test
cmake --preset "$preset" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"

if [ "$preset" = debug ]; then
    cmake --preset windows -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
    cmake --build --preset windows
    ctest --preset windows
fi
