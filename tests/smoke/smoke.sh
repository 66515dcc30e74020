#!/usr/bin/env bash
# Starts the real program under Xvfb with an empty settings folder, takes a screenshot,
# presses Exit, and checks that the program ended and wrote no settings.
# usage: smoke.sh QUILLMARK_BINARY OUTPUT_DIR
set -euo pipefail

binary=$1
outdir=$2
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

export HOME=$work/home XDG_CONFIG_HOME=$work/config
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
touch "$HOME/readme.txt" "$HOME/notes.txt"

# Xvfb picks a display that no lock file or socket claims and names it once it listens.
# -noreset: by default the server resets whenever its last client leaves and drops any
# connection still being set up; the window probes below come and go while the program
# connects, so without it the program is sometimes turned away.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
# Generous waits: a sanitizer build on a busy machine starts slowly.
for _ in $(seq 600); do
    grep -q '^[0-9]\+$' "$work/display" && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
done
grep -q '^[0-9]\+$' "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(cat "$work/display")"
unset QT_QPA_PLATFORM

"$binary" >"$work/app.log" 2>&1 &
app_pid=$!

window=
for _ in $(seq 600); do
    window=$(xdotool search --onlyvisible --name '^Quillmark$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended before its window appeared: $(cat "$work/app.log")"
    sleep 0.1
done
[ -n "$window" ] || fail "no window titled Quillmark"
sleep 1
import -window root "$outdir/smoke-screenshot.png" || fail "screenshot failed"

eval "$(xdotool getwindowgeometry --shell "$window")"
# The client area is 522 x 387 pixels at 96 DPI; the menu bar sits above it.
menu=$((HEIGHT - 387))
exit_x=$((X + 448 + 32))
exit_y=$((Y + menu + 274 + 12))
xdotool mousemove "$exit_x" "$exit_y" click 1

for _ in $(seq 600); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
    fail "the program is still running after Exit"
fi
wait "$app_pid" && status=0 || status=$?
app_pid=
[ "$status" -eq 0 ] || fail "the program exited with status $status: $(cat "$work/app.log")"

if [ -n "$(find "$XDG_CONFIG_HOME" "$HOME" -name '*.ini' -print -quit)" ]; then
    fail "a settings file was written although nothing changed"
fi
echo "smoke: 1 passed, 0 failed"
