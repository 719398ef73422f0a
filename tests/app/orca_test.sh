#!/usr/bin/env bash
# Runs orca_test.py, with the same arguments, on a session bus of its own, which the screen reader
# and the game share; the test starts an X server of its own.
set -euo pipefail
rm -rf "$2" && mkdir -p "$2"
exec dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/orca_test.py" "$@"
