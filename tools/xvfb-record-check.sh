#!/usr/bin/env bash
# Records a short game in a real window under Xvfb, driven by xdotool, then replays the demo
# headless and checks that the replay ends in the final state the live run printed.
#
#   tools/xvfb-record-check.sh [BUILD]      (default BUILD: build, after tools/setup.sh test)
#
# Needs the packages xvfb and xdotool, which it installs when they are missing.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-packages.sh" xvfb xdotool
build=$(cd "${1:-$top/build}" && pwd)
work=$(mktemp -d)

# Xvfb picks a free display number and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
game=
cleanup() {
    [ -n "$game" ] && kill "$game" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=:$(cat "$work/display")

cd "$build/run"
./vorkalith --record "$work/live.vkd" >"$work/live.txt" &
game=$!
xdotool search --sync --name Vorkalith >/dev/null
sleep 2
# The 640 x 480 display fills the 1024 x 768 screen: screen = display x 1.6.
point() { xdotool mousemove "$(($1 * 8 / 5))" "$(($2 * 8 / 5))"; }
# The game looks at the button and the keys once a frame: each is held for a while.
click() {
    xdotool mousedown 1
    sleep 0.3
    xdotool mouseup 1
}
press() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}
point 320 240
sleep 0.5
click
sleep 1
for key in Right Down Left Down Right Up; do
    press "$key" 0.7
done
sleep 1
press Escape 0.3
# The title comes down; then Exit.
sleep 3
point 320 360
sleep 0.5
click
wait "$game"
game=

./vorkalith --playback "$work/live.vkd" --headless >"$work/replay.txt"
echo "live:   $(cat "$work/live.txt")"
echo "replay: $(cat "$work/replay.txt")"
echo "demo:   $work/live.vkd ($(wc -l <"$work/live.vkd") lines)"
cmp -s "$work/live.txt" "$work/replay.txt" || { echo "the replay differs from the live run" >&2; exit 1; }
echo "the replay ends in the live run's final state"
