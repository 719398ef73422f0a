#!/usr/bin/env bash
# Runs desktop_test.py, with the same arguments, on a session bus of its own (the accessibility
# bus starts on demand behind it); the test starts its own X server.
set -euo pipefail
rm -rf "$5" && mkdir -p "$5"
exec dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/desktop_test.py" "$@"
