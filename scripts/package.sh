#!/usr/bin/env bash
# Builds the Debian package, installs it with apt on this machine, checks the installed files and
# starts the installed program, from its path and from its desktop entry, under its own X server.
# Esc must end it. Needs root (or sudo) for the install.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/xvfb.sh
source scripts/xvfb.sh

scripts/install-deps.sh test
cmake --preset package >/dev/null
cmake --build --preset package
(cd build/package && rm -f ./*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$PWD"/build/package/*.deb)
echo "package: $deb"
dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Depends|Recommends):'

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --reinstall "$deb" >/dev/null

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
app_id=org.tamlo.Qt350Simulator
for file in /usr/bin/tamlo-qt350 \
    /usr/share/applications/$app_id.desktop \
    /usr/share/metainfo/$app_id.metainfo.xml \
    /etc/xdg/tamlo-qt350/registry.reg; do
    [ -f "$file" ] || fail "not installed: $file"
done
for size in 16 22 24 32 48 64 128 256; do
    [ -f "/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png" ] || fail "no ${size}x${size} icon"
done
desktop-file-validate /usr/share/applications/$app_id.desktop
appstreamcli validate --no-net /usr/share/metainfo/$app_id.metainfo.xml >/dev/null
grep -q '^Icon='"$app_id"'$' /usr/share/applications/$app_id.desktop || fail "the desktop entry names another icon"

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
start_xvfb "$work"

run_until_window 20 /usr/bin/tamlo-qt350
# The desktop entry's command line, as a launcher runs it: the program found on PATH.
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/$app_id.desktop)
read -r -a command <<<"$exec_line"
run_until_window 20 "${command[@]}"
echo "PASS: the package installs and its program starts from its path and its desktop entry"
