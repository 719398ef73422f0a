#!/usr/bin/env bash
# shellcheck disable=SC2030,SC2031 # each scenario sets $scenario in a subshell of its own
# The real program as a hostile command line, environment and System Info store would have it, in
# named scenarios. Each session, traced by strace -f on an X server of its own, takes keys, opens
# About (where the design table puts it), presses System Info, closes About and ends with Esc; it
# fails on a file written, a process but the tool of a press, a socket bound, a file an argument
# named, or anything left running.
#   startup_strace_test.sh <program> <desktop_probe> <work-dir>
set -euo pipefail
program=$(realpath "$1") probe=$(realpath "$2") work=$(realpath -m "$3")
rm -rf "$work" && mkdir -p "$work"/{home/.config,sys,rel}/tamlo-qt350 "$work"/{plugins,runtime,bin}
chmod 700 "$work/runtime" && cd "$work"
pids=() scenario=setup
stop() { kill "${pids[@]}" 2>/dev/null || true; }
trap stop EXIT
fail() { echo "FAIL $scenario: $*" >&2 && exit 1; }
# poll <tenths of a second> <command...>; shown <seconds> <title>: its window's id once shown.
poll() { for _ in $(seq "$1"); do "${@:2}" && return; sleep 0.1; done && return 1; }
shown() { timeout "$1" xdotool search --sync --onlyvisible --name "$2" | head -n 1; }
gone() { ! xdotool search --name "$1" >/dev/null; }
ended() { ! kill -0 "$1" 2>/dev/null; }

# Tools that do nothing, and stores that name them: store <key tail> <value name> <value>.
made=(sys-tool rel-tool user-tool bin/bare-tool {,bin/}'rel dir;touch pwned;\MSINFO32.EXE'
    {,bin/}'.hid\MSINFO32.EXE')
printf '#!/bin/sh\n' | tee "${made[@]}" >/dev/null && chmod +x "${made[@]}"
store() { printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools%s]\n"%s"="%s"\n' "$@"; }
store '\MSINFO' PATH "$work/sys-tool" >sys/tamlo-qt350/registry.reg
store '\MSINFO' PATH "$work/rel-tool" >rel/tamlo-qt350/registry.reg
# The largest store read: the tool, then one key line of backslashes up to 1 MiB.
{ store '\MSINFO' PATH "$work/user-tool" && printf '[HKEY_LOCAL_MACHINE'; } >big.reg
size=$(wc -c <big.reg)
head -c $((1048576 - size - 2)) /dev/zero | tr '\0' "\\\\" >>big.reg && echo ']' >>big.reg
echo 'QWidget {}' >style.qss && : >display
user=$work/home/.config/tamlo-qt350/registry.reg
read -r about_x about_y _ about_h < <("$probe" | sed -n "s/^FrmTamlo txtAbout //p")
export HOME=$work/home PATH=$work/bin:$PATH

# press <tool>: System Info must start exactly that file, or show the message ("message").
press() {
    xdotool windowfocus --sync "$about" key alt+s
    if [ "$1" != message ]; then
        tools+=("${1//\\/\\\\}") # as strace writes it; the tool may have run before
        poll 50 as_wanted || fail "System Info did not start $1, but: $(started)"
        return
    fi
    box=$(shown 5 '^Tamlo QT-350$') || fail "no message over $(stat -c %F "$user" 2>&1)"
    xdotool windowfocus --sync "$box" key Return
    poll 50 gone '^Tamlo QT-350$' || fail "the message stayed"
}
started() { grep -hoE '^execve(at)?\("[^"]*"' "$scenario"/t.* | cut -d'"' -f2 | sort; }
as_wanted() { [ "$(started)" = "$(printf '%s\n' "${tools[@]}" | sort)" ]; } # each as often

# start <arguments>: the game traced by strace with $options, keys pressed, its About open.
start() {
    strace "${options[@]}" "$program" "$@" <&0 2>"$scenario.log" &
    tracer=$! && pids+=("$tracer")
    window=$(shown 20 '^Tamlo QT-350 Simulator$') || fail "no game window; it said:" \
        "$(tail -n 5 "$scenario.log")" "$(gdb -batch -ex bt "$program" core* 2>&1 | grep '^#')"
    xdotool windowfocus --sync "$window" key --delay 50 Left Down r \
        mousemove --window "$window" $((about_x + about_h / 2)) $((about_y + about_h / 2)) click 1
    about=$(shown 10 '^About') || fail "About did not open"
}

# finish: About closed, Esc, and the game with everything it started must be gone.
finish() {
    xdotool windowfocus --sync "$about" key Escape sleep 0.5 windowfocus --sync "$window" key Escape
    if ! poll 100 ended "$tracer"; then # every process traced is ended on the way out
        mapfile -t traced < <(find "$scenario" -name 't.*' | sed 's/.*\.//')
        pids+=("${traced[@]}")
        fail "left running: $(ps -o pid=,args= -p "${traced[*]}")"
    fi
    wait "$tracer" || fail "the program ended with status $?"
}

# traced <presses> <arguments...>: one session traced, then the checks on what it did. Standard
# input is a pipe that holds a store: a link to it is no regular file.
traced() {
    tools=("$program") && mkdir "$scenario"
    options=(-ff -z -v -s 64 -o "$scenario/t" -e "trace=execve,execveat,%file,bind,listen,connect")
    start "${@:2}" < <(store '\MSINFO' PATH "$work/user-tool")
    $1 && finish
    as_wanted || fail "started $(started)"
    ! grep -h '^execve' "$scenario"/t.* | grep -v "^execve(\"$program\"" |
        grep 'BUS_ADDRESS=disabled:' || fail "the tool got the program's bus setting"
    local bad='^(open|openat|creat)\(.*(O_WRONLY|O_RDWR|O_CREAT|O_TRUNC)|^(bind|listen)\('
    bad+='|^(mkdir|rename|link|symlink|unlink|truncate|chmod|chown|utime)'
    bad+="|^[^e].*($work/plugins|style\.qss)" # but in execve
    ! grep -hE "$bad" "$scenario"/t.* | grep -v "^mkdir(\"/tmp/runtime-$(id -un)\", 0700)" ||
        fail "wrote, listened or read what an argument named: the lines above"
}

# Each scenario runs in a subshell: its settings and processes end with it, a failure names it.
scenario() { (pids=() scenario=$1 && trap stop EXIT && "$1") && echo "ok   $1"; }

# Without a display, or with one out of reach, status 1 and one line that names the display.
no_display_says_so_in_one_line() {
    for display in '' :4711; do
        local status=0
        env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=$display "$program" >/dev/null \
            2>said || status=$?
        [ "$status $(wc -l <said) $(grep -c 'X11 or Wayland display.*DISPLAY' said)" = "1 1 1" ] ||
            fail "display '$display': status $status, said: $(cat said)"
    done
}

hostile_presses() {
    press "$work/sys-tool" # the relative folder's store and the empty entry are passed over
    folder=$(dirname "$user") && rm -r "$folder" && touch "$folder" &&
        press "$work/sys-tool" # no such path
    rm "$folder" && ln -s tamlo-qt350 "$folder" && press message # a path not to be looked at
    rm "$folder" && mkdir "$folder"
    cp big.reg "$user" && press "$work/user-tool"
    echo >>"$user" && press message # one byte more than is read
    # shellcheck disable=SC2016 # eval expands them
    for make in 'mkfifo $user' 'mkdir $user' 'ln -s $user $user' 'ln -s nowhere $user' \
        'ln -s /dev/stdin $user' \
        'python3 -c "import socket,sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])" $user'; do
        rm -rf "$user" && eval "$make" && press message
    done
    rm -rf "$user" && store ' Location' MSINFO 'rel dir;touch pwned;' >"$user"
    press "$work/rel dir;touch pwned;\\MSINFO32.EXE" # the very file tested, not its twin on $PATH
    store ' Location' MSINFO .hid >"$user" && press message # a hidden file is no program
    store '\MSINFO' PATH '' >"$user" && press message
    store '\MSINFO' PATH bare-tool >"$user" && press "$work/bin/bare-tool"
}

# No bus, relative and empty XDG entries, arguments that would change the program, and stores
# of every kind: only the tool the store names starts, and the message shows for the rest.
hostile_stores_and_arguments_start_only_the_named_tool() {
    unset XDG_RUNTIME_DIR DBUS_SESSION_BUS_ADDRESS
    export XDG_CONFIG_HOME=rel XDG_CONFIG_DIRS=rel::$work/sys
    traced hostile_presses -platform vnc:port=5987 -platformpluginpath "$work/plugins" \
        -platform evil -stylesheet style.qss -display :4711
}

# With a session bus and the accessibility bus, running as in a desktop session, it is reached.
with_a_session_bus_it_reaches_the_accessibility_bus() {
    export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/home/.config
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 DBUS_SESSION_BUS_ADDRESS
    dbus-daemon --session --fork --print-address=3 --print-pid=4 3>bus 4>bus.pid
    pids+=("$(cat bus.pid)") && DBUS_SESSION_BUS_ADDRESS=$(head -n 1 bus)
    a11y=$(dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress | grep -oE 'path=[^,"]*' | cut -d= -f2)
    traced "press $work/bin/bare-tool"
    grep -q "^connect(.*$a11y" "$scenario"/t.* || fail "no connection to $a11y"
}

# With no store anywhere the one built in names /usr/bin/hardinfo, whose start is made to fail.
without_a_store_the_built_in_one_names_hardinfo() {
    rm -rf "$user" && unset DBUS_SESSION_BUS_ADDRESS
    export XDG_CONFIG_DIRS=$work/none XDG_RUNTIME_DIR=$work/runtime
    options=(-f -o builtin.trace -P /usr/bin/hardinfo -e trace=execve -e inject=execve:error=ENOENT)
    start
    press message && finish
    grep -q 'execve("/usr/bin/hardinfo"' builtin.trace || fail "hardinfo was not asked for"
}

scenario no_display_says_so_in_one_line
# shellcheck source=scripts/xvfb.sh
source "$(dirname "$(realpath "$0")")/../../scripts/xvfb.sh" && start_xvfb "$work" && pids+=($!)
# A store read in more than linear memory fails in 4 GB (sanitizers: no limit, no leak check);
# not `ldd | grep -q`, whose early end can fail ldd by SIGPIPE: pipefail would see no sanitizer.
[[ $(ldd "$program") == *libasan* ]] || ulimit -v 4000000
ulimit -c unlimited 2>/dev/null || true # a crash's backtrace in the failure
export ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0
scenario hostile_stores_and_arguments_start_only_the_named_tool
scenario with_a_session_bus_it_reaches_the_accessibility_bus
scenario without_a_store_the_built_in_one_names_hardinfo
