#!/usr/bin/env bash
# Runs placement_test.py, with the same arguments, on a session bus of its own, which the window
# managers expect; the test starts an X server of its own for each desktop.
set -euo pipefail
rm -rf "$3" && mkdir -p "$3"
exec dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/placement_test.py" "$@"
