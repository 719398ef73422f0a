#!/usr/bin/env bash
# The real program as a hostile command line, environment and System Info store would have it:
# without a display, or with one out of reach, it says so in one line and exits with status 1.
# Under its own X server it takes keys, opens About, presses System Info over store after store,
# closes About and ends with Esc, traced by strace -f, and fails on a file written, a process but
# the tool of a press, a socket bound, a file an argument named, or anything left running.
#   startup_strace_test.sh <program> <work-dir>
set -euo pipefail
program=$(realpath "$1") work=$(realpath -m "$2")
xvfb_helper=$(dirname "$(realpath "$0")")/../../scripts/xvfb.sh
rm -rf "$work" && mkdir -p "$work"/{home/.config/tamlo-qt350,plugins,runtime,bin,sys/tamlo-qt350,rel/tamlo-qt350}
chmod 700 "$work/runtime" && cd "$work"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
fail() { echo "FAIL: $*" >&2 && exit 1; }

for display in '' :4711; do
    status=0 && env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=$display "$program" >/dev/null 2>err.txt || status=$?
    [ $status = 1 ] && [ "$(wc -l <err.txt)" = 1 ] && grep -q 'X11 or Wayland display.*DISPLAY' err.txt ||
        fail "display '$display': status $status, said: $(cat err.txt)"
done

# Tools that do nothing, and stores that name them: store <key tail> <value name> <value>.
for tool in sys-tool rel-tool user-tool bin/bare-tool {,bin/}'rel dir;touch pwned;\MSINFO32.EXE' {,bin/}'.hid\MSINFO32.EXE'; do
    printf '#!/bin/sh\n' >"$tool" && chmod +x "$tool"
done
store() { printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools%s]\n"%s"="%s"\n' "$@"; }
store '\MSINFO' PATH "$work/sys-tool" >sys/tamlo-qt350/registry.reg
store '\MSINFO' PATH "$work/rel-tool" >rel/tamlo-qt350/registry.reg
# The largest store read: the tool, then one key line of backslashes up to 1 MiB.
{ store '\MSINFO' PATH "$work/user-tool" && printf '[HKEY_LOCAL_MACHINE'; } >big.reg
head -c $((1048576 - $(wc -c <big.reg) - 2)) /dev/zero | tr '\0' '\\' >>big.reg && echo ']' >>big.reg
echo 'QWidget {}' >style.qss && : >display
user=$work/home/.config/tamlo-qt350/registry.reg
export HOME=$work/home PATH=$work/bin:$PATH
source "$xvfb_helper" && start_xvfb "$work" && pids+=($!)
# A store read in more than linear memory fails in 4 GB (sanitizers: no limit, no leak check).
ldd "$program" | grep -q libasan && export ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 || ulimit -v 4000000

# press <tool>: System Info must start exactly that file, or show the message ("message").
press() {
    xdotool windowfocus --sync "$about" key alt+s
    if [ "$1" != message ]; then
        tools+=("${1//\\/\\\\}") # as strace writes it; the tool may have run before
        local runs=$(printf '%s\n' "${tools[@]}" | grep -cxF "${tools[-1]}")
        for _ in $(seq 50); do [ "$(cat $name/t.* | grep -cF "execve(\"${tools[-1]}\"")" = $runs ] && return || sleep 0.1; done
        fail "$name: System Info did not start $1"
    fi
    box=$(timeout 5 xdotool search --sync --onlyvisible --name '^Tamlo QT-350$' | head -n 1) || fail "$name: no message over $(stat -c %F "$user" 2>&1)"
    xdotool windowfocus --sync "$box" key Return
    timeout 5 bash -c 'while xdotool search --name "^Tamlo QT-350\$"; do sleep 0.1; done' >/dev/null
}

# start <strace options> <arguments>: the game traced, keys pressed, its About window open.
start() {
    strace "${@:1:$#-1}" "$program" ${!#} <&0 2>"$name.log" &
    tracer=$! && pids+=($tracer)
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tamlo QT-350 Simulator$' | head -n 1) || fail "$name: no game window"
    xdotool windowfocus --sync "$window" key --delay 50 Left Down r mousemove --window "$window" 220 288 click 1
    about=$(timeout 10 xdotool search --sync --onlyvisible --name '^About' | head -n 1) || fail "$name: About did not open"
}

# finish: About closed, Esc, and the game with everything it started must be gone.
finish() {
    xdotool windowfocus --sync "$about" key Escape sleep 0.5 windowfocus --sync "$window" key Escape
    for _ in $(seq 100); do kill -0 $tracer 2>/dev/null && sleep 0.1; done
    ! kill -0 $tracer 2>/dev/null || { # every process traced is ended on the way out
        traced=$(ls $name | sed 's/.*\.//' | paste -sd,) && pids+=(${traced//,/ }) && fail "$name: left running: $(ps -o pid=,args= -p $traced)"; }
    wait $tracer || fail "$name: the program ended with status $?"
}

# run <name> <presses> <arguments>: one traced session, then the checks on what it did. Standard
# input is a pipe that holds a store: a link to it is no regular file.
run() {
    name=$1 tools=("$program") && mkdir "$1"
    start -ff -z -v -s 64 -o "$name/t" -e trace=execve,execveat,%file,bind,listen,connect "${3:-}" < <(store '\MSINFO' PATH "$work/user-tool")
    $2 && finish
    local started=$(grep -hoE '^execve(at)?\("[^"]*"' $name/t.* | cut -d'"' -f2 | sort)
    [ "$started" = "$(printf '%s\n' "${tools[@]}" | sort)" ] || fail "$name: started $started"
    ! grep -h '^execve' $name/t.* | grep -v "^execve(\"$program\"" | grep 'BUS_ADDRESS=disabled:' || fail "$name: tool environment"
    ! grep -hE '^(open|openat|creat)\(.*(O_WRONLY|O_RDWR|O_CREAT|O_TRUNC)|^(mkdir|rename|link|symlink|unlink|truncate|chmod|chown|utime)' $name/t.* |
        grep -v "^mkdir(\"/tmp/runtime-$(id -un)\", 0700)" || fail "$name: wrote the files above"
    ! grep -hE "^(bind|listen)\(|^[^e].*($work/plugins|style\.qss)" $name/t.* || fail "$name: listened or read what an argument named"
}

hostile_presses() {
    press "$work/sys-tool" # the relative folder's store and the empty entry are passed over
    folder=$(dirname "$user") && rm -r "$folder" && touch "$folder" && press "$work/sys-tool" # no such path
    rm "$folder" && ln -s tamlo-qt350 "$folder" && press message && rm "$folder" && mkdir "$folder" # a path not to be looked at
    cp big.reg "$user" && press "$work/user-tool"
    echo >>"$user" && press message # one byte more than is read
    for make in 'mkfifo $user' 'mkdir $user' 'ln -s $user $user' 'ln -s nowhere $user' 'ln -s /dev/stdin $user' \
        'python3 -c "import socket,sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])" $user'; do
        rm -rf "$user" && eval "$make" && press message
    done
    rm -rf "$user" && store ' Location' MSINFO 'rel dir;touch pwned;' >"$user"
    press "$work/rel dir;touch pwned;\\MSINFO32.EXE" # the very file tested, not its twin on $PATH
    store ' Location' MSINFO .hid >"$user" && press message # a hidden file is no program
    store '\MSINFO' PATH '' >"$user" && press message
    store '\MSINFO' PATH bare-tool >"$user" && press "$work/bin/bare-tool"
}
unset XDG_RUNTIME_DIR DBUS_SESSION_BUS_ADDRESS
export XDG_CONFIG_HOME=rel XDG_CONFIG_DIRS=rel::$work/sys
run hostile hostile_presses "-platform vnc:port=5987 -platformpluginpath $work/plugins -platform evil -stylesheet style.qss -display :4711"

# With a session bus and the accessibility bus, running as in a desktop session, it is reached.
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/home/.config QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>bus 4>bus.pid && pids+=($(cat bus.pid))
export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 bus)
a11y=$(dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress | grep -oE 'path=[^,"]*' | cut -d= -f2)
run session "press $work/bin/bare-tool"
grep -q "^connect(.*$a11y" session/t.* || fail "with a session bus the program did not reach the accessibility bus at $a11y"

# With no store anywhere the one built in names /usr/bin/hardinfo, whose start is made to fail.
rm -rf "$user" && export XDG_CONFIG_DIRS=$work/none name=builtin
start -f -o builtin.trace -P /usr/bin/hardinfo -e trace=execve -e inject=execve:error=ENOENT ""
press message && finish
grep -q 'execve("/usr/bin/hardinfo"' builtin.trace || fail "the store built in does not name /usr/bin/hardinfo"
echo "PASS: no display gives one line; arguments change nothing; nothing written, started or left running"
