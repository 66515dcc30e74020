#!/usr/bin/env bash
# Runs a test binary on its own Xvfb server through the xcb platform, as the program runs on a
# desktop. Exits 77 (skipped) where Xvfb is not installed.
# usage: run-under-xvfb.sh BINARY [ARGUMENTS...]
set -uo pipefail

command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 77; }
work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a display that nothing claims and names it once it listens.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 600); do
    grep -q '^[0-9]\+$' "$work/display" && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
done
grep -q '^[0-9]\+$' "$work/display" || { echo "Xvfb did not start: $(cat "$work/xvfb.log")"; exit 1; }

DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb "$@"
