#!/usr/bin/env bash
# Checks every tracked file by the project's rules: shell scripts shellcheck-clean, sources,
# tests, scripts and CMake files at most 100 columns, C++ as clang-format 14 writes it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh lint

mapfile -t scripts < <(git ls-files '*.sh' .ci/run)
shellcheck -x "${scripts[@]}"

mapfile -t sources < <(git ls-files '*.c' '*.cc' '*.cpp' '*.h' '*.hpp' '*.py' '*.sh' '*.cmake' \
    '*.in' '*.rc' '*CMakeLists.txt' .ci/run)
awk 'length($0) > 100 { print FILENAME ":" FNR ": " length($0) " columns"; long = 1 }
     END { exit long }' "${sources[@]}"

mapfile -t cpp < <(git ls-files '*.c' '*.cc' '*.cpp' '*.h' '*.hpp')
clang-format-14 --dry-run -Werror "${cpp[@]}"
echo "lint: ${#scripts[@]} scripts, ${#sources[@]} sources, ${#cpp[@]} C++ files clean"
