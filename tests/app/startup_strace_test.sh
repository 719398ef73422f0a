#!/usr/bin/env bash
# The real program started as a hostile command line and environment would start it. Without a
# display, or with one that cannot be reached, it says so in one line and exits with status 1.
# Under its own X server it runs twice under strace -f: with arguments the toolkit would act on,
# no session bus, no XDG_RUNTIME_DIR and a System Info store of the largest size read; then with a
# session bus and the accessibility bus. Each run takes keys, opens About, starts System Info,
# closes About and ends with Esc, and fails on a file written, a process started but the tool, a
# socket bound, a file an argument named, or anything still running after the game.
#
#   startup_strace_test.sh <program> <work-dir>
set -euo pipefail
program=$(realpath "$1") work=$(realpath -m "$2")
xvfb_helper=$(dirname "$(realpath "$0")")/../../scripts/xvfb.sh
rm -rf "$work" && mkdir -p "$work/home" "$work/plugins" "$work/runtime" "$work/config/tamlo-qt350"
chmod 700 "$work/runtime" && cd "$work"
pids=()
trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

for display in unset :4711; do
    status=0
    if [ $display = unset ]; then unset DISPLAY; else export DISPLAY=$display; fi
    env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" >/dev/null 2>err.txt || status=$?
    [ $status = 1 ] && [ "$(wc -l <err.txt)" = 1 ] && grep -q 'X11 or Wayland display.*DISPLAY' err.txt ||
        fail "display $display: status $status, said: $(cat err.txt)"
done

printf '#!/bin/sh\n' >tool && chmod +x tool && echo 'QWidget {}' >style.qss
store='[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO]\n"PATH"="'$work'/tool"\n[HKEY_LOCAL_MACHINE'
{
    printf "$store"
    head -c $((1048576 - $(printf "$store" | wc -c) - 2)) /dev/zero | tr '\0' '\\'
    echo ']'
} >config/tamlo-qt350/registry.reg
export HOME=$work/home XDG_CONFIG_HOME=$work/config
: >display
source "$xvfb_helper" && start_xvfb "$work" && pids+=($!)
# Without the sanitizers' reserved address space, a store read in more than linear memory fails.
ldd "$program" | grep -q libasan || ulimit -v 4000000

# run <name> <arguments>: one traced session, then the checks on what it did.
run() {
    local name=$1 window about tracer
    shift
    mkdir "$name"
    strace -ff -z -o "$name/t" -e trace=execve,execveat,%file,bind,listen,connect "$program" "$@" 2>"$name.log" &
    tracer=$!
    pids+=($tracer)
    window=$(timeout 20 xdotool search --sync --name '^Tamlo QT-350 Simulator$' | head -n 1) || fail "$name: no game window"
    xdotool windowfocus --sync "$window" key --delay 50 Left Down r mousemove --window "$window" 220 288 click 1
    about=$(timeout 10 xdotool search --sync --name '^About' | head -n 1) || fail "$name: About did not open"
    xdotool windowfocus --sync "$about" key alt+s sleep 1 key Escape sleep 0.5 windowfocus --sync "$window" key Escape
    for _ in $(seq 100); do kill -0 $tracer 2>/dev/null && sleep 0.1; done
    if kill -0 $tracer 2>/dev/null; then
        pids+=($(ls $name | sed 's/.*\.//')) # every process traced, to be ended on the way out
        fail "$name: still running 10 s after Esc: $(ps -o pid=,args= -p "$(ls $name | sed 's/.*\.//' | paste -sd,)")"
    fi
    wait $tracer || fail "$name: the program ended with status $?"

    local traced="$name/t.*" started written
    started=$(grep -hoE '^execve(at)?\("[^"]*"' $traced | cut -d'"' -f2 | sort -u)
    [ "$started" = "$(printf '%s\n' "$program" "$work/tool" | sort)" ] || fail "$name: started $started"
    written=$(grep -hE '^(open|openat|creat)\(.*(O_WRONLY|O_RDWR|O_CREAT|O_TRUNC)|^(mkdir|rename|link|symlink|unlink|truncate|chmod|chown|utime)' $traced |
        grep -v "^mkdir(\"/tmp/runtime-$(id -un)\", 0700)" || true)
    [ -z "$written" ] || fail "$name: wrote $written"
    ! grep -hE "^(bind|listen)\(|^[^e].*($work/plugins|style\.qss)" $traced || fail "$name: listened or read what an argument named"
}

unset XDG_RUNTIME_DIR DBUS_SESSION_BUS_ADDRESS
run hostile -platform vnc:port=5987 -platformpluginpath "$work/plugins" -platform evil -stylesheet style.qss -display :4711

export XDG_RUNTIME_DIR=$work/runtime QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>bus 4>bus.pid && pids+=($(cat bus.pid))
export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 bus)
# A desktop session has the accessibility bus running before any program starts.
a11y=$(dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress | grep -oE 'path=[^,"]*' | cut -d= -f2)
pids+=($(dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetConnectionUnixProcessID string:org.a11y.Bus | grep -oE '[0-9]+$'))
run session
grep -q "^connect(.*$a11y" session/t.* || fail "with a session bus the program did not reach the accessibility bus at $a11y"
echo "PASS: no display gives one line; arguments change nothing; nothing written, started or left running"
