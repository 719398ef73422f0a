#!/usr/bin/env bash
# The Windows program under 64-bit Wine, on its own X server with a window manager, played with
# real X key presses and clicks: its window and layout, the keys, the march, the About window over
# the running game, System Info through the registry, and an import table of system DLLs only.
# What a screen reader reads of each control and hears while the game runs, and "About" opened
# through its default action.
# With "Courier New" standing for the face Windows has (its metric twin), the windows' look at 96,
# 144 and 192 dpi as captured from the screen: every label's text whole, the display's eight
# characters whole in a fixed-pitch face, the icons drawn for each size; once without that face,
# for the fallback. The game marches on behind every window and in every loop of the system's.
#   wine_test.sh <tamlo-qt350.exe> <probe.exe> <work dir> <objdump>
set -eEuo pipefail
# A step that fails without a word of its own still says where the test stopped.
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR
game_exe=$(realpath "$1") probe_exe=$(realpath "$2") work=$(realpath -m "$3") objdump=$4
fail() { echo "FAIL: $*" >&2 && exit 1; }

# The C and C++ runtimes are linked in: every DLL named is one that Windows itself has.
dlls=$("$objdump" -p "$game_exe" | sed -n 's/^\s*DLL Name: //p')
system='advapi32|comctl32|gdi32|kernel32|msvcrt|ole32|oleacc|oleaut32|user32|winmm'
others=$(grep -vixE "($system)\.dll" <<<"$dlls" || true)
[ -z "$others" ] || fail "imports $others"

rm -rf "$work" && mkdir -p "$work"
# shellcheck source=scripts/xvfb.sh
source "$(dirname "$0")/../../scripts/xvfb.sh"
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null; kill $(jobs -p) 2>/dev/null || true' EXIT
start_xvfb "$work"
openbox >/dev/null 2>&1 &
wineboot -i >"$work/wineboot.log" 2>&1
drive=$WINEPREFIX/drive_c
mkdir -p "$drive/tamlo test/a;b dir" "$drive/tamlo fallback"
cp "$probe_exe" "$drive/tamlo test/a;b dir/tool.exe"
cp "$probe_exe" "$drive/tamlo.exe" # what splitting the path at its space would start
cp "$probe_exe" "$drive/tamlo fallback/MSINFO32.EXE"

probe() { wine "$probe_exe" "$@" | tr -d '\r'; }
text() { probe text "$1"; }
keys() { xdotool windowfocus --sync "$1" key --delay "${delay:-20}" "${@:2}"; }
# expect <layout> <line>...: every line, a pattern, matches a whole line of the layout printed.
expect() { for line in "${@:2}"; do grep -qx "$line" <<<"$1" || fail "no $line in: $1"; done; }
# The program file: the program icon drawn at every size Windows shows, the About window's, the
# picture of the About box, and whose copyright it is.
file=$(probe file "$game_exe")
expect "$file" 'icon 1: 16x16 20x20 24x24 32x32 40x40 48x48 64x64 256x256' \
    'icon 2: 16x16 24x24 32x32' 'icon 3: 43x42' \
    'LegalCopyright=Copyright (c) 2026 the Tamlo QT-350 Simulator contributors'

# icons <window> <dpi>: what the desktop is given to show, a big and a small icon at this DPI.
icons() {
    local want seen
    want="Icon ($(($2 / 3)) x $(($2 / 3))) Icon ($(($2 / 6)) x $(($2 / 6)))"
    seen=$(xprop -id "$1" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | xargs)
    [ "$seen" = "$want" ] || fail "icons $seen, want $want at $2 dpi"
}
# marches <what>: the display changes within 3.5 s, longer than a landing's pause.
marches() {
    local before
    before=$(text txtDisplay)
    sleep 3.5
    [ "$(text txtDisplay)" != "$before" ] || fail "the march stopped $1"
}
# behind_about_menu <about>: the game marches on while About's system menu runs its loop.
behind_about_menu() {
    probe sysmenu
    marches "while the About window's system menu was open"
    keys "$1" Escape Escape # the menu, then the loop
    xdotool search --name '^About Tamlo QT-300 Simulator$' >/dev/null || fail "Esc closed About"
}
# shown <seconds> <title>: the shown window of that title, once there is one.
shown() { timeout "$1" xdotool search --sync --onlyvisible --name "^$2\$" | head -n 1; }
# open_about <button>|reader: a press on "About", or its default action as a screen reader does
# it (which must not wait for the window it opens); sets about to the About window.
open_about() {
    local x y
    if [ "$1" = reader ]; then
        timeout 20 wine "$probe_exe" press txtAbout || fail "About's default action"
    else
        read -r x y <<<"$(probe click txtAbout)"
        xdotool mousemove "$x" "$y" click "$1"
    fi
    about=$(shown 20 'About Tamlo QT-300 Simulator') || fail "About did not open"
    if [ "$1" = reader ]; then # once more, over the open window: no second one
        timeout 20 wine "$probe_exe" press txtAbout && sleep 1
        [ "$(xdotool search --onlyvisible --name '^About Tamlo' | wc -l)" = 1 ] || fail "2 Abouts"
    fi
}
# game: starts the program and sets window to its game window.
game() {
    wine "$game_exe" &
    game=$!
    window=$(shown 60 'Tamlo QT-350 Simulator') || fail "no window titled Tamlo QT-350 Simulator"
}

wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'Liberation Mono' /f \
    >/dev/null
# A move to a screen of another scale, which Wine never makes, of the probe's own game windows.
moved=$(probe dpi) || fail "a change of DPI: $moved"
game

# The new game of the start (its first landing comes after 7 s): the design's layout and texts.
layout=$(probe layout game) || fail "layout: $layout"
icons "$window" 96
expect "$layout" 'txtDisplay=1-.*' 'txtMessage=' 'txtLevel=Level : 1' 'txtScore=Score : 000000' \
    'txtNoLand=Land : 0' 'txtMissFire=Miss Fire : 0'
# What a screen reader reads of each control, and hears from here on (the probe tells once it
# listens): the aim after Left, the game over after thirty misses, the first landing.
acc=$(probe acc game) || fail "accessibility: $acc"
expect "$acc" \
    'acc txtDisplay name=Display role=text value=1-.\{6\} state=unavailable,read only action=' \
    'acc txtAbout name=About role=link value= state=linked action=Jump' \
    'acc txtScore name=Score : 000000 .*' 'acc Label3 name=Esc : Exit .*'
wine "$probe_exe" hear 'value txtDisplay 2-      ' 'alert txtMessage Game Over!' \
    'live txtMessage Game Over!' 'alert txtMessage Land!' >"$work/heard" &
hear=$!
timeout 20 bash -c "until grep -q hooked '$work/heard'; do sleep 0.2; done" || fail "no hook"
keys "$window" r Left
[[ $(text txtDisplay) == 2-* ]] || fail "Left does not aim at 2"
# Keys faster than the screen's frames: the display ends drawing the last (the layout compares).
delay=4 keys "$window" r Left Left Left
layout=$(probe layout game) || fail "layout after quick keys: $layout"
expect "$layout" 'txtDisplay=4-.*'
# Before the first march tick the row is empty: every Down misses, the thirtieth ends the game,
# and R starts afresh, with Alt held as without.
# shellcheck disable=SC2046 # thirty separate keys
keys "$window" r Left Down alt+r $(printf 'Down %.0s' {1..30})
layout=$(probe layout game) || fail "layout after thirty misses: $layout"
expect "$layout" 'txtDisplay=1-.*' 'txtMissFire=Miss Fire : 30' 'txtMessage=Game Over!'

# About, opened with the right button, centred over the game, which marches on behind it (R
# after the game over starts it again).
keys "$window" r
open_about 3
layout=$(probe layout about) || fail "About layout: $layout"
expect "$layout" 'lblTitle=Tamlo QT-350' 'lblVersion=Version 0.0.2'
acc=$(probe acc about) || fail "About's accessibility: $acc"
expect "$acc" 'acc picIcon name=Program icon role=graphic .*' \
    'acc cmdSysInfo name=System Info... .*' 'acc lblVersion name=Version 0.0.2 .*'
icons "$about" 96
marches "behind About"

# System Info: the first value starts its path exactly, the second its folder's MSINFO32.EXE,
# and without either the message box comes.
tool_key='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
location_key='HKLM\SOFTWARE\Microsoft\Shared Tools Location'
# Alt+S until its outcome shows: a program started before may have taken the focus for a moment.
sysinfo() {
    for _ in 1 2 3; do
        keys "$about" alt+s
        for _ in $(seq 25); do
            eval "$1" && return 0
            sleep 0.2
        done
    done
    return 1
}
expect_start() {
    { sysinfo "[ -f '$1.ran' ]" && [ "$(cat "$1.ran")" = "\"$2\"" ]; } ||
        fail "System Info did not start $2"
}
# unset_key <key>: the key is gone (reg.exe was once seen to fail without a word; what counts is
# that the key is no longer there).
unset_key() { wine reg delete "$1" /f >/dev/null 2>&1 || ! wine reg query "$1" >/dev/null 2>&1; }
wine reg add "$tool_key" /v PATH /d 'C:\tamlo test\a;b dir\tool.exe' /f >/dev/null
wine reg add "$location_key" /v MSINFO /d 'C:\tamlo fallback' /f >/dev/null
expect_start "$drive/tamlo test/a;b dir/tool.exe" 'C:\tamlo test\a;b dir\tool.exe'
[ ! -e "$drive/tamlo.exe.ran" ] || fail "the path was split at its space"
unset_key "$tool_key"
expect_start "$drive/tamlo fallback/MSINFO32.EXE" 'C:\tamlo fallback\MSINFO32.EXE'
unset_key "$location_key"
sysinfo "xdotool search --name '^Tamlo QT-350\$' >/dev/null" || fail "no message box"
[ "$(probe box)" = $'Button OK\nStatic System Information Is Unavailable At This Time' ] ||
    fail "message box: $(probe box)"
marches "behind the message box"
xdotool key Return # to the message box, which has the focus
keys "$about" Escape
wait "$hear" || fail "a screen reader did not hear: $(tr -d '\r' <"$work/heard")"
sleep 1
! xdotool search --name '^About Tamlo QT-300 Simulator$' >/dev/null ||
    fail "Esc did not close About"

keys "$window" Escape
timeout 10 tail --pid="$game" -f /dev/null || fail "Esc did not end the program"

# At 96 dpi (without the face for the fallback), 150% and 200% the window and every control grow
# with the screen's DPI; the texts stay whole, and the game goes on behind About's system menu.
# look <dpi> [how About opens]
look() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    game
    layout=$(probe layout game) || fail "layout at $1 dpi: $layout"
    icons "$window" "$1"
    keys "$window" r
    open_about "${2:-1}"
    layout=$(probe layout about) || fail "About layout at $1 dpi: $layout"
    icons "$about" "$1"
    behind_about_menu "$about"
    keys "$about" Escape
    layout=$(probe display) || fail "display at $1 dpi: $layout"
    keys "$window" Escape
    timeout 10 tail --pid="$game" -f /dev/null || fail "Esc did not end the program"
}
look 96
look 144 reader
look 192
wine reg delete 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /f >/dev/null
look 96
echo "PASS: the Windows program under Wine"
