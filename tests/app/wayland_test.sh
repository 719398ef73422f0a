#!/usr/bin/env bash
# The program in Wayland sessions as a player's desktop starts it (WAYLAND_DISPLAY, XWayland's
# DISPLAY, no platform chosen), as a user of its own, since sway will not run as root:
# - sway 1.7: the game comes through XWayland; About opens centred over it; a click on the game
#   leaves About focused and on top; Esc closes About, then ends the game. Without XWayland, or
#   with QT_QPA_PLATFORM=wayland, the game opens natively.
# - weston 10: both windows' title bars in its screenshot match the reference pictures (the
#   whole title, no button that does nothing).
# - with the Wayland plugin hidden and no XWayland, the one line names what is missing.
#   wayland_test.sh <program> <desktop_probe> <reference-dir> <differs-dir>
set -euo pipefail
program=$(realpath "$1") probe=$(realpath "$2") references=$(realpath "$3") kept=$4
wayland_probe=$(dirname "$(realpath "$0")")/wayland_probe.py
[ "$(id -u)" = 0 ] || { echo "SKIP: needs root, to make a user of its own" && exit 77; }
rm -rf "$kept"
user=tamlo-wl-test work=$(mktemp -d /tmp/tamlo-wl-test.XXXXXX) pids=()
stop() { kill "${pids[@]}" 2>/dev/null || true; wait "${pids[@]}" 2>/dev/null || true; pids=(); }
cleanup() {
    stop
    for _ in $(seq 20); do pgrep -u "$user" >/dev/null && sleep 0.1; done # XWayland follows
    userdel "$user" || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    mkdir -p "$kept"
    cp "$work"/*.log "$work"/*.png* "$kept/" 2>/dev/null || true # those that were written
    echo "FAIL: $* (logs and pictures in $kept)" >&2 && exit 1
}
check() { if "${@:2}"; then echo "ok   $1"; else fail "$1"; fi; }
userdel "$user" 2>/dev/null || true
useradd --no-create-home --home-dir "$work/home" --shell /usr/sbin/nologin "$user"
mkdir -m 700 "$work/home" "$work/run" && chown "$user:" "$work" "$work/home" "$work/run"
# A command as the user, in a clean environment but for the sanitizer build's settings: each
# exec's the next, so $! is the command's. Natively the toolkit's Wayland plugin leaves a block
# whose code is unloaded by exit, so no suppression can name it: leaks are checked under X11.
as_user=(setpriv --reuid="$user" --regid="$user" --init-groups env -i PATH=/usr/bin:/bin
    HOME="$work/home" XDG_RUNTIME_DIR="$work/run" ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
    LSAN_OPTIONS="${LSAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}")
until_true() { for _ in $(seq 50); do "$@" && return 0 || sleep 0.2; done && return 1; }
spawn() { "$@" & pids+=($!); } # in the background, until stop

# sway: its socket, its XWayland's DISPLAY, and the session a player's programs get from it.
printf 'output HEADLESS-1 resolution 1024x768 position 0 0\ndefault_border normal\n%s\n' \
    "exec sh -c 'echo \$DISPLAY >$work/sway-display'" >"$work/sway.conf"
spawn "${as_user[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    WLR_HEADLESS_OUTPUTS=1 sway -c "$work/sway.conf" >"$work/sway.log" 2>&1
sway_up() { [ -s "$work/sway-display" ] && compgen -G "$work/run/sway-ipc.*.sock" >/dev/null; }
until_true sway_up || fail "sway did not start: $(tail -n 3 "$work/sway.log")"
session=(WAYLAND_DISPLAY="$(basename "$(ls "$work"/run/wayland-?)")" XDG_SESSION_TYPE=wayland
    SWAYSOCK="$(ls "$work"/run/sway-ipc.*.sock)")
xwayland=DISPLAY=$(cat "$work/sway-display")
in_session() { "${as_user[@]}" "${session[@]}" "$@"; }
views() { in_session swaymsg -t get_tree | in_session python3 "$wayland_probe" views; }
view() { views | grep " $1\$" || true; }
shown() { [ -n "$(view "$1")" ]; }
keys() { in_session wtype -k Shift_L -s 300 "$@"; } # a new wtype's first key can be lost

# game <how> <shell> <env...>: the game started in the sway session must show, titled in full,
# through <shell>; the id is in $game, its frame in $gx $gy $gw $gh.
game() {
    spawn in_session "${@:3}" "$program" >>"$work/game.log" 2>&1
    game=$! how=$1
    until_true shown "Tamlo QT-350 Simulator" || fail "no game window ($1)"
    read -r shell _ gx gy gw gh _ <<<"$(view "Tamlo QT-350 Simulator")"
    check "the game shows through $2 ($1)" [ "$shell" = "$2" ]
}
ended() { ! kill -0 "$game" 2>/dev/null && wait "$game"; }
ends_with_esc() { keys -k Escape && check "Esc ends it with status 0 ($how)" until_true ended; }

game "XWayland running" xwayland "$xwayland"
client_x=$((gx + 2)) client_y=$((gy + 25)) # inside sway's border and title bar
design() { "$probe" | sed -n "s/^$1 $2 //p"; } # where the design tables put it
read -r lx ly _ lh < <(design FrmTamlo txtAbout)
in_session python3 "$wayland_probe" click $((client_x + lx + lh / 2)) $((client_y + ly + lh / 2))
until_true shown "About Tamlo QT-300 Simulator" || fail "no About window"
read -r _ focus x y w h _ <<<"$(view "About Tamlo QT-300 Simulator")"
# Twice the distance of the centres, as whole numbers.
off_x=$((2 * x + w - 2 * gx - gw)) off_y=$((2 * y + h - 2 * gy - gh))
check "About opens focused ($focus), centred over the game within 2 px (x2: $off_x,$off_y)" \
    [ "$focus $((off_x ** 2 + off_y ** 2 <= 16))" = "focused 1" ]
# On the game's ground, left of the display and below the last row, where About is not.
read -r dx _ < <(design FrmTamlo txtDisplay)
read -r _ _ _ ch < <(design FrmTamlo client)
in_session python3 "$wayland_probe" click $((client_x + dx / 2)) $((client_y + (ly + lh + ch) / 2))
sleep 1
check "after a click on the game, About is focused and on top" \
    [ "$(views | tail -n 1 | cut -d' ' -f2,7-)" = "focused About Tamlo QT-300 Simulator" ]
keys -k Escape
gone() { ! shown "About Tamlo QT-300 Simulator"; }
check "Esc closes About" until_true gone
check "and the game goes on" kill -0 "$game"
ends_with_esc

game "without XWayland" xdg_shell && ends_with_esc
game QT_QPA_PLATFORM=wayland xdg_shell "$xwayland" QT_QPA_PLATFORM=wayland && ends_with_esc

# Without the Wayland plugin, with no XWayland: the line names what is missing.
platforms=$(dirname "$(ldd "$program" | awk '/libQt6Gui/ {print $3}')")/qt6/plugins/platforms
mkdir "$work/platforms" && cp "$platforms/libqxcb.so" "$work/platforms/"
# shellcheck disable=SC2016 # the inner shell expands them
said=$(unshare --mount sh -c 'mount --bind "$1" "$2" && shift 2 && exec "$@"' - \
    "$work/platforms" "$platforms" env -u DISPLAY "${session[@]}" "$program" 2>&1) && fail "$said"
check "it says: $said" [ "$said" = "tamlo-qt350: cannot open a display in this Wayland session: \
XWayland is not running (DISPLAY is not set), and the toolkit's Wayland plugin is missing \
(install qt6-wayland)" ]

stop

# weston asks every program to draw its own title bar; under XWayland its window manager draws
# it. A plain ground and no panel keep the pictures the same from run to run.
printf '[shell]\nbackground-color=0xff204060\npanel-position=none\n' >"$work/weston.ini"
spawn "${as_user[@]}" weston --config="$work/weston.ini" --backend=headless-backend.so \
    --socket=wayland-w --width=1024 --height=768 --use-pixman --xwayland --debug \
    --log="$work/weston.log"
spawn "${as_user[@]}" dbus-daemon --session --nofork --address="unix:path=$work/run/bus"
xserver() { sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log"; }
until_true grep -q 'launching.*desktop-shell' "$work/weston.log" || fail "weston did not start"
session=(WAYLAND_DISPLAY=wayland-w XDG_SESSION_TYPE=wayland DISPLAY="$(xserver)"
    DBUS_SESSION_BUS_ADDRESS="unix:path=$work/run/bus")
spawn in_session QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >>"$work/game.log" 2>&1
# title_bar <title> <design window> <name>: its title bar and frame edges, wherever weston put
# it, as <name>.png shows them. UPDATE_REFERENCES=1 writes it, from where the window says it is.
title_bar() {
    id=$(in_session timeout 10 xdotool search --sync --name "^$1\$" | head -n 1)
    sleep 1 # weston has framed, placed and drawn it
    rm -f "$work"/home/*.png
    # The screenshot is written where it is taken, in the user's home.
    (cd "$work/home" && in_session timeout 10 weston-screenshooter) || fail "no screenshot"
    shot=$(ls "$work"/home/*.png)
    if [ "${UPDATE_REFERENCES:-}" = 1 ]; then
        read -r x y < <(in_session xwininfo -id "$id" |
            sed -n 's/.*Absolute upper-left [XY]: *//p' | paste -sd' ')
        read -r _ _ width _ < <(design "$2" client)
        QT_QPA_PLATFORM=offscreen "$probe" "$shot:$((x - 6)),$((y - 26)),$((width + 12)),26" \
            "$references/$3.png"
    fi
    check "weston: the title bar of '$1' looks like $3.png" env QT_QPA_PLATFORM=offscreen \
        "$probe" "$shot" "$work/$3.png" "$references/$3.png"
}
title_bar "Tamlo QT-350 Simulator" FrmTamlo weston-game-title
in_session python3 "$wayland_probe" about
title_bar "About Tamlo QT-300 Simulator" frmAbout weston-about-title
