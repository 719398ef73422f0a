#!/usr/bin/env bash
# The soak: a bot plays the real game window (offscreen) through 30 levels, the real 2 ms march
# timer runs for 60 s, and the About window opens and closes 1,000 times; once natively for the
# memory figures, once under valgrind memcheck, which fails the run on any error or leak.
# Optional arguments: the fast timer's seconds and the About openings (defaults 60 and 1000).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
openings=${2:-1000}
scripts/install-deps.sh test
cmake --preset release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build --preset release --target soak
export QT_QPA_PLATFORM=offscreen
soak=(build/release/bench/soak --levels 30 --fast-seconds "$seconds" --about "$openings")

echo "== native"
"${soak[@]}"
echo "== valgrind memcheck"
valgrind --quiet --error-exitcode=3 --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect "${soak[@]}"
echo "valgrind: no error, no leak"
