# Sourced by the scripts that run the program on a real X server: start_xvfb <work-dir> starts
# Xvfb in the background (the caller's trap kills it), waits until it takes clients and points
# DISPLAY and XDG_RUNTIME_DIR at it and the work folder.
start_xvfb() {
    local work=$1
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    for _ in $(seq 100); do
        # Xvfb writes the display number and a newline once it accepts clients.
        [ "$(wc -l <"$work/display")" -ge 1 ] && break
        sleep 0.1
    done
    [ "$(wc -l <"$work/display")" -ge 1 ] || {
        echo "Xvfb did not start" >&2
        return 1
    }
    export DISPLAY=":$(cat "$work/display")" XDG_RUNTIME_DIR="$work"
    unset QT_QPA_PLATFORM
}
