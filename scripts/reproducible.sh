#!/usr/bin/env bash
# Builds the last commit twice, in two fresh clones in two folders one after the other, and
# compares what is shipped byte for byte: the Debian package, the Windows program and its ZIP.
# The second build runs in another time zone and locale and with a tighter umask; neither is
# given SOURCE_DATE_EPOCH, so both take the commit's time. Then checks that the Windows program
# keeps address randomisation (high-entropy) and no-execute data on.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
commit=$(git rev-parse HEAD)
git diff --quiet HEAD || echo "note: builds $commit, without the uncommitted changes"
unset SOURCE_DATE_EPOCH

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# build <folder>: the package and the Windows program from a clone of the commit.
build() {
    local tree=$1
    git clone -q --shared --no-checkout "$PWD" "$tree"
    git -C "$tree" checkout -q --detach "$commit"
    if ! (
        cd "$tree"
        cmake --preset package
        cmake --build --preset package
        (cd build/package && cpack -G DEB)
        cmake --preset windows -DBUILD_TESTING=OFF
        cmake --build --preset windows
    ) >"$tree.log" 2>&1; then
        tail -n 30 "$tree.log" >&2
        fail "the build in $tree"
    fi
    echo "built in $tree at $(date -u '+%H:%M:%S UTC')"
}
build "$work/first"
(
    umask 077
    TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 build "$work/second-build"
)

outputs=(build/package/tamlo-qt350_*.deb build/windows/app/win32/tamlo-qt350.exe
    build/windows/tamlo-qt350-*-win64.zip)
differ=0
for pattern in "${outputs[@]}"; do
    first=$(compgen -G "$work/first/$pattern") || fail "not built: $pattern"
    second=$(compgen -G "$work/second-build/$pattern") || fail "not built the second time: $pattern"
    sha256sum "$first" "$second" | sed "s|$work/||"
    if ! cmp -s "$first" "$second"; then
        differ=1
        echo "DIFFERENT: $pattern" >&2
        if command -v diffoscope >/dev/null; then
            diffoscope --text - --max-text-report-size 200000 "$first" "$second" >&2 || true
        else
            cmp -l "$first" "$second" | head -n 40 >&2 || true
        fi
    fi
done
[ "$differ" -eq 0 ] || fail "two builds of $commit differ"
echo "PASS: two builds of $commit give the same package, Windows program and ZIP"

exe=$work/first/build/windows/app/win32/tamlo-qt350.exe
header=$(x86_64-w64-mingw32-objdump -p "$exe")
for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
    grep -qw "$flag" <<<"$header" || fail "the Windows program is built without $flag"
done
echo "PASS: the Windows program has high-entropy ASLR and DEP on"
