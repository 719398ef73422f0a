#!/usr/bin/env bash
# Installs the Debian packages the game needs (or, with "test", the whole test suite; with
# "xserver", an X server of its own and the keys typed on it; with "lint", the checkers of
# scripts/lint.sh), and only those that are missing, so a second run does nothing and takes no
# time.
set -euo pipefail

profile=${1:-game}

game_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev libxcb1-dev
    fonts-liberation2
    hardinfo
    python3
)
xserver_packages=(xvfb xauth xdotool x11-utils)
lint_packages=(shellcheck clang-format-14)
test_packages=(
    "${game_packages[@]}" "${xserver_packages[@]}" "${lint_packages[@]}"
    libgtest-dev libgmock-dev libbenchmark-dev
    x11-xkb-utils xkb-data openbox
    sway weston xwayland qt6-wayland wtype
    mutter xfwm4 kwin-x11 kwin-style-breeze qt6-gtk-platformtheme qt6ct
    dbus dbus-x11 at-spi2-core python3-pyatspi strace
    orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
    clang libclang-rt-14-dev valgrind
    mingw-w64 wine wine64
    libxcb-damage0-dev libxcb-xtest0-dev
    desktop-file-utils appstream dpkg-dev file
    lintian devscripts diffoscope-minimal
)

case "$profile" in
game) wanted=("${game_packages[@]}") ;;
test) wanted=("${test_packages[@]}") ;;
xserver) wanted=("${xserver_packages[@]}") ;;
lint) wanted=("${lint_packages[@]}") ;;
*)
    echo "usage: $0 [game|test|xserver|lint]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
