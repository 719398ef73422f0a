#!/usr/bin/env bash
# The Windows program under 64-bit Wine, on its own X server with a window manager, played with
# real X keys and clicks and read as a screen reader reads it, at 96, 144 and 192 dpi with "Courier
# New" standing for Windows's face (its metric twin), and once without it for the fallback.
#   wine_test.sh <tamlo-qt350.exe> <probe.exe> <work dir> <objdump>
set -eEuo pipefail
# A step that fails without a word of its own still says where the test stopped.
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR
game_exe=$(realpath "$1") probe_exe=$(realpath "$2") work=$(realpath -m "$3") objdump=$4
fail() { echo "FAIL: $*" >&2 && exit 1; }

# The C and C++ runtimes are linked in: every DLL named is one that Windows itself has.
dlls=$("$objdump" -p "$game_exe" | sed -n 's/^\s*DLL Name: //p')
system='advapi32|comctl32|gdi32|kernel32|msvcrt|ole32|oleacc|oleaut32|user32|winmm'
! grep -vixE "($system)\.dll" <<<"$dlls" || fail "imports the DLLs printed above"

rm -rf "$work" && mkdir -p "$work"
# shellcheck source=scripts/xvfb.sh
source "$(dirname "$0")/../../scripts/xvfb.sh"
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null; kill $(jobs -p) 2>/dev/null || true' EXIT
start_xvfb "$work"
openbox >/dev/null 2>&1 &
wineboot -i >"$work/wineboot.log" 2>&1
drive=$WINEPREFIX/drive_c
install -D "$probe_exe" "$drive/tamlo test/a;b dir/tool.exe"
install -D "$probe_exe" "$drive/tamlo fallback/MSINFO32.EXE"

probe() { wine "$probe_exe" "$@" | tr -d '\r'; }
keys() { xdotool windowfocus --sync "$1" key --delay "${delay:-20}" "${@:2}"; }
poll() { timeout "$1" bash -c "until $2; do sleep 0.2; done"; }
# expect <command> <argument> <line>...: the probe's command succeeds, and every line, a pattern,
# matches a whole line of what it prints.
expect() {
    local out
    out=$(probe "$1" "$2") || fail "$1 $2 at ${dpi:-96} dpi: $out"
    for line in "${@:3}"; do grep -qx "$line" <<<"$out" || fail "no $line in: $out"; done
}
# The program file: its icon at every size Windows shows, About's, the About box's, the copyright.
expect file "$game_exe" 'icon 1: 16x16 20x20 24x24 32x32 40x40 48x48 64x64 256x256' \
    'icon 2: 16x16 24x24 32x32' 'icon 3: 43x42' \
    'LegalCopyright=Copyright (c) 2026 the Tamlo QT-350 Simulator contributors'

# icons <window>: what the desktop is given to show, a big and a small icon at this DPI.
icons() {
    local seen want="Icon ($((dpi / 3)) x $((dpi / 3))) Icon ($((dpi / 6)) x $((dpi / 6)))"
    seen=$(xprop -id "$1" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | xargs)
    [ "$seen" = "$want" ] || fail "icons $seen, want $want at $dpi dpi"
}
# marches <what>: the display changes within 3.5 s, longer than a landing's pause.
marches() {
    local before
    before=$(probe text txtDisplay)
    sleep 3.5
    [ "$(probe text txtDisplay)" != "$before" ] || fail "the march stopped $1"
}
shown() { timeout "$1" xdotool search --sync --onlyvisible --name "^$2\$" | head -n 1; }
about_title='About Tamlo QT-300 Simulator'
# set_value <key> /v <name> [/t <type>] /d <data>: reg.exe was seen to fail now and then without a
# word, so a failed write is made once more (writing a value again changes nothing).
set_value() { wine reg add "$@" /f >/dev/null 2>&1 || wine reg add "$@" /f >/dev/null; }
# start <dpi> [<line>...]: the program at this DPI, its layout (holding each line) and icons.
start() {
    dpi=$1
    set_value 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi"
    wine "$game_exe" &
    game=$!
    window=$(shown 60 'Tamlo QT-350 Simulator') || fail "no window titled Tamlo QT-350 Simulator"
    expect layout game "${@:2}"
    icons "$window"
}
# open_about <button>|reader [<line>...]: R, a press on "About" or its default action (which must
# not wait for the window it opens), and the About window's layout (holding each line) and icons.
open_about() {
    local x y
    keys "$window" r
    if [ "$1" = reader ]; then # twice, the second time over the open window: no second one
        timeout 20 wine "$probe_exe" press txtAbout || fail "About's default action"
        shown 20 "$about_title" >/dev/null || fail "About did not open"
        timeout 20 wine "$probe_exe" press txtAbout && sleep 1
        [ "$(xdotool search --onlyvisible --name '^About Tamlo' | wc -l)" = 1 ] || fail "2 Abouts"
    else
        read -r x y <<<"$(probe click txtAbout)"
        xdotool mousemove "$x" "$y" click "$1"
    fi
    about=$(shown 20 "$about_title") || fail "About did not open"
    expect layout about "${@:2}"
    icons "$about"
}
quit() {
    keys "$window" Escape
    timeout 10 tail --pid="$game" -f /dev/null || fail "Esc did not end the program"
}

set_value 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'Liberation Mono'
# A move to a screen of another scale, which Wine never makes, of the probe's own game windows.
expect dpi ''

# The new game of the start (its first landing comes after 7 s): the design's layout and texts,
# and what a screen reader reads of each control.
start 96 'txtDisplay=1-.*' 'txtMessage=' 'txtLevel=Level : 1' 'txtScore=Score : 000000' \
    'txtNoLand=Land : 0' 'txtMissFire=Miss Fire : 0' \
    'acc txtDisplay name=Display role=text value=1-.\{6\} state=unavailable,read only action=' \
    'acc txtAbout name=About role=link value= state=linked action=Jump' \
    'acc txtScore name=Score : 000000 .*' 'acc Label3 name=Esc : Exit .*'
# What a screen reader hears from here on (the probe tells once it listens): the aim after Left,
# the game over after thirty misses, the first landing.
wine "$probe_exe" hear 'value txtDisplay 2-      ' 'alert txtMessage Game Over!' \
    'live txtMessage Game Over!' 'alert txtMessage Land!' >"$work/heard" &
hear=$!
poll 20 "grep -q hooked '$work/heard'" || fail "no hook"
keys "$window" r Left
[[ $(probe text txtDisplay) == 2-* ]] || fail "Left does not aim at 2"
# Keys faster than the screen's frames: the display ends drawing the last (the layout compares).
delay=4 keys "$window" r Left Left Left
expect layout game 'txtDisplay=4-.*'
# Before the first march tick the row is empty: every Down misses, the thirtieth ends the game,
# and R starts afresh, with Alt held as without.
# shellcheck disable=SC2046 # thirty separate keys
keys "$window" r Left Down alt+r $(printf 'Down %.0s' {1..30})
expect layout game 'txtDisplay=1-.*' 'txtMissFire=Miss Fire : 30' 'txtMessage=Game Over!'

# About by the right button, centred over the game, which marches on behind it (R restarted it).
open_about 3 'lblTitle=Tamlo QT-350' 'lblVersion=Version 0.0.2' \
    'acc picIcon name=Program icon role=graphic .*' 'acc cmdSysInfo name=System Info... .*' \
    'acc lblVersion name=Version 0.0.2 .*'
marches "behind About"

# System Info: the first value starts its path exactly, the second its folder's MSINFO32.EXE,
# and without either the message box comes.
tool_key='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
location_key='HKLM\SOFTWARE\Microsoft\Shared Tools Location'
# Alt+S until its outcome shows: a program started before may have taken the focus for a moment.
sysinfo() { for _ in 1 2 3; do keys "$about" alt+s; poll 5 "$1" && return 0; done; return 1; }
expect_start() {
    { sysinfo "[ -f '$1.ran' ]" && [ "$(cat "$1.ran")" = "\"$2\"" ]; } ||
        fail "System Info did not start $2"
}
# unset_key <key>: the key is gone (reg.exe was once seen to fail without a word).
unset_key() { wine reg delete "$1" /f >/dev/null 2>&1 || ! wine reg query "$1" >/dev/null 2>&1; }
set_value "$tool_key" /v PATH /d 'C:\tamlo test\a;b dir\tool.exe'
set_value "$location_key" /v MSINFO /d 'C:\tamlo fallback'
expect_start "$drive/tamlo test/a;b dir/tool.exe" 'C:\tamlo test\a;b dir\tool.exe'
unset_key "$tool_key"
expect_start "$drive/tamlo fallback/MSINFO32.EXE" 'C:\tamlo fallback\MSINFO32.EXE'
unset_key "$location_key"
sysinfo "xdotool search --name '^Tamlo QT-350\$' >/dev/null" || fail "no message box"
# Found by its title, the box may not answer for its controls yet: read for a few seconds.
box=$'Button OK\nStatic System Information Is Unavailable At This Time'
for _ in {1..10}; do if [ "$(probe box)" = "$box" ]; then break; fi; sleep 0.5; done
[ "$(probe box)" = "$box" ] || fail "message box: $(probe box)"
marches "behind the message box"
xdotool key Return # to the message box, which has the focus
keys "$about" Escape
wait "$hear" || fail "a screen reader did not hear: $(tr -d '\r' <"$work/heard")"
poll 5 "! xdotool search --name '^$about_title\$' >/dev/null" || fail "Esc did not close About"
quit

# look <dpi> [how About opens]: the windows and every control grow with the screen's DPI, the
# texts stay whole, and the game goes on behind About's system menu.
look() {
    start "$1"
    open_about "${2:-1}"
    probe sysmenu
    marches "while the About window's system menu was open"
    keys "$about" Escape Escape # the menu, then the loop
    xdotool search --name "^$about_title\$" >/dev/null || fail "Esc closed About"
    keys "$about" Escape
    expect display ''
    quit
}
look 96
look 144 reader
look 192
wine reg delete 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /f >/dev/null
look 96
echo "PASS: the Windows program under Wine"
