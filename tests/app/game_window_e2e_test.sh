#!/usr/bin/env bash
# Starts the built game under its own X server and plays it with real X key events: the window
# appears with its title and size, looks like the reference pictures, takes Left, Down and R
# (also R on a Cyrillic layout, by its physical key), and Esc ends the program.
#
#   game_window_e2e_test.sh <program> <window_snapshot> <reference-dir> <work-dir> [<scale>]
#
# With a scale of 2 the program runs with QT_SCALE_FACTOR=2, as on a high-density screen: the
# window then has twice the size in device pixels and is compared with the "@2x" pictures.
#
# UPDATE_REFERENCES=1 writes the pictures taken as the new references.
set -euo pipefail

program=$(realpath "$1") snapshot=$(realpath "$2") references=$(realpath "$3") work=$4 scale=${5:-1}
suffix=
[ "$scale" = 1 ] || suffix="@${scale}x"
title="Tamlo QT-350 Simulator"
mkdir -p "$work"
cd "$work"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -f display.txt
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>display.txt 2>xvfb.log &
xvfb=$!
game=
cleanup() {
    [ -n "$game" ] && kill "$game" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do
    # Xvfb writes the display number and a newline once it accepts clients.
    [ "$(wc -l <display.txt 2>/dev/null || echo 0)" -ge 1 ] && break
    sleep 0.1
done
[ "$(wc -l <display.txt 2>/dev/null || echo 0)" -ge 1 ] || fail "Xvfb did not start"
export DISPLAY=":$(cat display.txt)"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR
[ "$scale" = 1 ] || export QT_SCALE_FACTOR=$scale

"$program" >game.log 2>&1 &
game=$!
window=$(timeout 20 xdotool search --sync --name "^$title\$" | head -n 1) || fail "no window titled '$title'"
geometry=$(xwininfo -id "$window")
grep -q "Width: $((260 * scale))\$" <<<"$geometry" || fail "window width: $geometry"
grep -q "Height: $((332 * scale))\$" <<<"$geometry" || fail "window height: $geometry"
xdotool windowfocus --sync "$window"

# Compares the window with a reference picture after the given keys. The march's first tick
# comes 1000 ms after a restart, so each try starts with R and takes the picture at once; a
# loaded machine may need a second try.
expect_picture() {
    local name=$1$suffix
    shift
    for attempt in 1 2 3; do
        xdotool key --delay 20 "$@"
        if [ "${UPDATE_REFERENCES:-0}" = 1 ]; then
            "$snapshot" "$window" "$references/$name.png"
            return 0
        fi
        if "$snapshot" "$window" "$name.png" "$references/$name.png" "$name-diff.png"; then
            return 0
        fi
        echo "picture $name differs (try $attempt)" >&2
    done
    fail "the window does not look like $references/$name.png (see $work/$name.png, $name-diff.png)"
}

expect_picture new-game r
expect_picture aim-2 r Left
expect_picture aim-2-one-miss r Left Down
expect_picture new-game r Left Down r

if [ "$scale" = 1 ]; then
    # On a Cyrillic layout the R key types a Cyrillic letter; it still restarts.
    setxkbmap -layout ru
    expect_picture aim-2-one-miss Cyrillic_ka Left Down
    expect_picture new-game Cyrillic_ka Left Down Cyrillic_ka
    setxkbmap -layout us
fi

xdotool key Escape
for _ in $(seq 20); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$game" 2>/dev/null; then
    fail "the program still runs 2 s after Esc"
fi
wait "$game" || fail "the program exited with status $?"
game=
echo "PASS: the game window took real keys and Esc ended it"
