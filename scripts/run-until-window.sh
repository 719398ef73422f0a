#!/usr/bin/env bash
# Runs a command line on an X server of its own as a player would (CI runs the README's first
# command so): waits while it installs and builds until the game's window shows, presses Esc, and
# fails unless the command then ends with status 0.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/xvfb.sh
source scripts/xvfb.sh

scripts/install-deps.sh xserver
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
start_xvfb "$work"
run_until_window 1800 "$@"
