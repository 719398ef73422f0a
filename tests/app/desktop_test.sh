#!/usr/bin/env bash
# Runs desktop_test.py, with the same arguments, on an X server and a session bus of its own (the
# accessibility bus starts on demand behind it); all of them end with this script.
set -euo pipefail
rm -rf "$5" && mkdir -p -m 700 "$5"
source "$(dirname "$0")/../../scripts/xvfb.sh"
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT
start_xvfb "$5"
dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/desktop_test.py" "$@"
