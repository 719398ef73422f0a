#!/usr/bin/env bash
# The Windows program under 64-bit Wine, on its own X server with a window manager, played with
# real X key presses and clicks: its window and layout, the keys, the march, the About window over
# the running game, System Info through the registry, and an import table of system DLLs only.
#   wine_test.sh <tamlo-qt350.exe> <probe.exe> <work dir> <objdump>
set -eEuo pipefail
# A step that fails without a word of its own still says where the test stopped.
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR
game_exe=$(realpath "$1") probe_exe=$(realpath "$2") work=$(realpath -m "$3") objdump=$4
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The C and C++ runtimes are linked in: every DLL named is one that Windows itself has.
dlls=$("$objdump" -p "$game_exe" | sed -n 's/^\s*DLL Name: //p')
echo "imports:" $dlls
others=$(grep -vixE '(advapi32|comctl32|gdi32|kernel32|msvcrt|user32|winmm)\.dll' <<<"$dlls" || true)
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
text() { probe layout game | sed -n "s/^$1=//p"; }
keys() { xdotool windowfocus --sync "$1" key --delay 20 "${@:2}"; }
# expect <layout> <line>...: every line, a pattern, matches a whole line of the layout printed.
expect() { for line in "${@:2}"; do grep -qx "$line" <<<"$1" || fail "no $line in: $1"; done; }
wine "$game_exe" &
game=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Tamlo QT-350 Simulator$' | head -n 1) ||
    fail "no window titled Tamlo QT-350 Simulator"

# The new game of the start (its first landing comes after 7 s): the design's layout and texts.
layout=$(probe layout game) || fail "layout: $layout"
expect "$layout" 'txtDisplay=1-.*' 'txtMessage=' 'txtLevel=Level : 1' 'txtScore=Score : 000000' \
    'txtNoLand=Land : 0' 'txtMissFire=Miss Fire : 0'
keys "$window" r Left
[[ $(text txtDisplay) == 2-* ]] || fail "Left does not aim at 2"
# Before the first march tick the row is empty: every Down misses, the thirtieth ends the game,
# and R starts afresh, with Alt held as without.
keys "$window" r Left Down alt+r $(printf 'Down %.0s' {1..30})
layout=$(probe layout game) || fail "layout after thirty misses: $layout"
expect "$layout" 'txtDisplay=1-.*' 'txtMissFire=Miss Fire : 30' 'txtMessage=Game Over!'
keys "$window" r
sleep 1.5
[ "$(text txtDisplay)" != "1-      " ] || fail "no invader marched in within 1.5 s"

# About, opened with the right button, centred over the game, which marches on behind it.
keys "$window" r
xdotool mousemove $(probe click txtAbout) click 3
about=$(timeout 20 xdotool search --sync --onlyvisible --name '^About Tamlo QT-300 Simulator$' | head -n 1) ||
    fail "About did not open"
layout=$(probe layout about) || fail "About layout: $layout"
expect "$layout" 'lblTitle=Tamlo QT-350' 'lblVersion=Version 0.0.2'
before=$(text txtDisplay)
sleep 1.5
[ "$(text txtDisplay)" != "$before" ] || fail "the march stopped behind About"

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
    sysinfo "[ -f '$1.ran' ]" && [ "$(cat "$1.ran")" = "\"$2\"" ] || fail "System Info did not start $2"
}
wine reg add "$tool_key" /v PATH /d 'C:\tamlo test\a;b dir\tool.exe' /f >/dev/null
wine reg add "$location_key" /v MSINFO /d 'C:\tamlo fallback' /f >/dev/null
expect_start "$drive/tamlo test/a;b dir/tool.exe" 'C:\tamlo test\a;b dir\tool.exe'
[ ! -e "$drive/tamlo.exe.ran" ] || fail "the path was split at its space"
wine reg delete "$tool_key" /f >/dev/null
expect_start "$drive/tamlo fallback/MSINFO32.EXE" 'C:\tamlo fallback\MSINFO32.EXE'
wine reg delete "$location_key" /f >/dev/null
sysinfo "xdotool search --name '^Tamlo QT-350\$' >/dev/null" || fail "no message box"
[ "$(probe box)" = $'Button OK\nStatic System Information Is Unavailable At This Time' ] ||
    fail "message box: $(probe box)"
before=$(text txtDisplay)
sleep 3.5 # longer than a landing's pause
[ "$(text txtDisplay)" != "$before" ] || fail "the march stopped behind the message box"
xdotool key Return # to the message box, which has the focus
keys "$about" Escape
sleep 1
! xdotool search --name '^About Tamlo QT-300 Simulator$' >/dev/null || fail "Esc did not close About"

keys "$window" Escape
timeout 10 tail --pid="$game" -f /dev/null || fail "Esc did not end the program"

# At 150% the window and every control grow with the screen's DPI.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
wine "$game_exe" &
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Tamlo QT-350 Simulator$' | head -n 1) ||
    fail "no window at 150%"
keys "$window" r
layout=$(probe layout game) || fail "layout at 150%: $layout"
keys "$window" Escape
echo "PASS: the Windows program under Wine"
