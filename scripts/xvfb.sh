# shellcheck shell=bash
# Sourced by the scripts that run the program on a real X server. start_xvfb <work-dir> starts
# Xvfb in the background (the caller's trap kills it), waits until it takes clients and points
# DISPLAY and XDG_RUNTIME_DIR at it and the work folder. It does not reset when its last client
# leaves: during a reset it takes no connection, and a program started then cannot open it.
start_xvfb() {
    local work=$1
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
    for _ in $(seq 100); do
        # Xvfb writes the display number and a newline once it accepts clients.
        [ "$(wc -l <"$work/display")" -ge 1 ] && break
        sleep 0.1
    done
    [ "$(wc -l <"$work/display")" -ge 1 ] || {
        echo "Xvfb did not start" >&2
        return 1
    }
    DISPLAY=":$(cat "$work/display")"
    export DISPLAY XDG_RUNTIME_DIR="$work"
    unset QT_QPA_PLATFORM
}

# run_until_window <seconds> <command...> runs a command line as a player would: waits (while the
# command runs, up to the seconds given, for it may install and build first) until the game's
# window shows, ends the game with Esc and fails unless the command then ends with status 0.
run_until_window() {
    local seconds=$1 window="" command status=0 began=$SECONDS
    shift
    "$@" &
    command=$!
    while [ -z "$window" ] && [ $((SECONDS - began)) -lt "$seconds" ] &&
        kill -0 "$command" 2>/dev/null; do
        window=$(xdotool search --onlyvisible --name '^Tamlo QT-350 Simulator$' 2>/dev/null |
            head -n 1) || true
        [ -n "$window" ] || sleep 0.5
    done
    if [ -z "$window" ]; then
        kill "$command" 2>/dev/null || true
        wait "$command" || true
        echo "FAIL: no window titled \"Tamlo QT-350 Simulator\" from: $*" >&2
        return 1
    fi
    echo "the window showed after $((SECONDS - began)) s: $*"
    xdotool windowfocus --sync "$window" key Escape
    for _ in $(seq 30); do
        kill -0 "$command" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$command" 2>/dev/null; then
        kill "$command"
        wait "$command" || true
        echo "FAIL: Esc did not end: $*" >&2
        return 1
    fi
    wait "$command" || status=$?
    if [ "$status" -ne 0 ]; then
        echo "FAIL: exit status $status after Esc from: $*" >&2
        return 1
    fi
    echo "Esc ended it with status 0: $*"
}
