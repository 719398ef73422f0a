#!/usr/bin/env bash
# Runs palette_test.py, with the same arguments, on a session bus of its own (the accessibility
# bus starts on demand behind it); the test starts its own X server.
set -euo pipefail
rm -rf "$4" && mkdir -p "$4"
exec dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/palette_test.py" "$@"
