#!/usr/bin/env bash
# The ZIP as a Windows user unpacks it: the program and two texts that Notepad opens by a double
# click, with Windows line ends.
#   zip_test.sh <tamlo-qt350-...-win64.zip> <work dir>
set -euo pipefail
zip=$(realpath "$1") work=$(realpath -m "$2")
fail() { echo "FAIL: $*" >&2 && exit 1; }
rm -rf "$work" && mkdir -p "$work" && cd "$work"
cmake -E tar xf "$zip"
folder=$(basename "$zip" .zip)
files=$(cd "$folder" && find . -type f | sort | tr '\n' ' ')
[ "$files" = "./LICENSE.txt ./README.txt ./tamlo-qt350.exe " ] || fail "the ZIP holds $files"
for text in LICENSE.txt README.txt; do
    lines=$(wc -l <"$folder/$text") crlf=$(grep -c $'\r$' "$folder/$text" || true)
    ((lines > 1 && crlf == lines)) || fail "$text: $crlf of $lines lines end in CR LF"
done
echo "PASS: the ZIP"
