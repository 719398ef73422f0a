#!/usr/bin/env bash
# Installs what is missing, builds the game in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh game
cmake --preset release -DBUILD_TESTING=OFF -DTAMLO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build --preset release
# The build writes down where it put the program.
exec "$(cat build/release/program-path)" "$@"
