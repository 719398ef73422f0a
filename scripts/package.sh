#!/usr/bin/env bash
# Builds the Debian package and holds it to Debian's own tools (lintian, hardening-check), installs
# it with apt on this machine, checks the installed files, that an edited System Info store
# survives a reinstall, and starts the installed program, from its path and from its desktop
# entry, under its own X server. Esc must end it. Needs root (or sudo) for the install.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/xvfb.sh
source scripts/xvfb.sh

scripts/install-deps.sh test
cmake --preset package >/dev/null
cmake --build --preset package
(cd build/package && rm -f ./*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$PWD"/build/package/*.deb)
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
echo "package: $deb"
dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Depends|Recommends):'

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Every tag lintian has, down to the pedantic ones; an error or a warning fails.
lintian --fail-on error,warning --info --display-level '>=pedantic' --display-experimental "$deb" ||
    fail "lintian reports errors or warnings"
echo "lintian: no error, no warning"

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
install_package() {
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --reinstall "$deb" >/dev/null
}
install_package

program=/usr/games/tamlo-qt350
store=/etc/xdg/tamlo-qt350/registry.reg
app_id=org.tamlo.Qt350Simulator
for file in $program \
    /usr/share/man/man6/tamlo-qt350.6.gz \
    /usr/share/doc/tamlo-qt350/copyright \
    /usr/share/doc/tamlo-qt350/changelog.gz \
    /usr/share/applications/$app_id.desktop \
    /usr/share/metainfo/$app_id.metainfo.xml \
    $store; do
    [ -f "$file" ] || fail "not installed: $file"
done
for size in 16 22 24 32 48 64 128 256; do
    [ -f "/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png" ] ||
        fail "no ${size}x${size} icon"
done
desktop-file-validate /usr/share/applications/$app_id.desktop
appstreamcli validate --pedantic --no-net /usr/share/metainfo/$app_id.metainfo.xml >/dev/null

# The protections dpkg-buildflags gives. Debian 12's C start files carry no control-flow marks,
# so no program linked with them is marked, Debian's own neither: that one check is left out.
hardening-check --nocfprotection $program

# The store is the user's to edit: a reinstall keeps the edit, and the package's own store comes
# back once the edited one is removed.
edit='"MSINFO"="/opt/edited by hand"'
echo "$edit" | "${sudo[@]}" tee -a $store >/dev/null
install_package
[ "$(tail -n 1 $store)" = "$edit" ] || fail "a reinstall undid the edit of $store"
echo "after a reinstall the edited store keeps its line: $edit"
"${sudo[@]}" rm $store
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --reinstall \
    -o DPkg::Options::=--force-confmiss "$deb" >/dev/null
cmp -s $store resources/registry.reg || fail "the package's store did not come back"
grep -q '^Icon='"$app_id"'$' /usr/share/applications/$app_id.desktop ||
    fail "the desktop entry names another icon"

start_xvfb "$work"

run_until_window 20 $program
# The desktop entry's command line, as a launcher in a player's session runs it: the program
# found on the PATH that a login gives (which has /usr/games), not on this script's.
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/$app_id.desktop)
read -r -a command <<<"$exec_line"
login_path=$(sed -n 's/^ENV_PATH[[:space:]]*PATH=//p' /etc/login.defs)
[ -n "$login_path" ] || fail "no ENV_PATH in /etc/login.defs"
run_until_window 20 env PATH="$login_path" "${command[@]}"
echo "PASS: the package installs and its program starts from its path and its desktop entry"
