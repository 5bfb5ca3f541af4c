#!/usr/bin/env bash
# Looks at the level editor as a player meets it, on a virtual 640x480 X screen: level 7 open, a
# faulty level showing its marks and the reason under the pointer, and a play-test of level 7.
# Screenshots go to OUT_DIR (default BUILD/editor-shots) for a look.
#
#   tools/editor_shots.sh [BUILD] [OUT_DIR]        (after a build)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
out=${2:-$build/editor-shots}
"$top/tools/install-packages.sh" xvfb xdotool imagemagick x11-utils
mkdir -p "$out"
work=$(mktemp -d)
editor=$build/run/vorkalith-edit

pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# A display number of its own: Xvfb picks a free one and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
export XDG_STATE_HOME=$work/state

shot() { import -window root "$out/$1.png"; }
# A key held for a few frames: the editor reads the keys once a frame.
tap() { xdotool keydown "$1" sleep 0.1 keyup "$1" sleep 0.3; }
start() {
    "$editor" "$@" &
    pids+=($!)
    sleep 3
}
stop() {
    kill "${pids[-1]}" 2>/dev/null || true
    wait "${pids[-1]}" 2>/dev/null || true
    unset 'pids[-1]'
}

echo "-- level 7"
start "$top/assets/levels/07.txt"
xdotool mousemove 250 200 sleep 0.5
shot editor-level7
tap F1
shot editor-help
tap Escape
xdotool keydown ctrl keydown shift keydown s sleep 0.1 keyup s keyup shift keyup ctrl sleep 0.3
shot editor-save-as
tap Escape
echo "-- a play-test of level 7"
tap F5
xdotool sleep 2 keydown Left sleep 1.5 keyup Left keydown Up sleep 1 keyup Up sleep 0.5
shot playtest-level7
tap Escape
xdotool sleep 1
shot back-from-playtest
stop

echo "-- a faulty level"
# A walled-off room, a mine that meets the ship's start early, a mine that runs off the right.
cat >"$work/faulty.txt" <<'LEVEL'
......................
.S....................
......................
......................
..............#####...
..............#...#...
..............#...#...
..............#####...
..^...................
......................
......................
.....>................
..........<.........#.
......................
......................
......................
LEVEL
start "$work/faulty.txt"
# The pointer on the mine that comes too near the start: the status line gives the reason.
xdotool mousemove 75 255 sleep 0.5
shot faulty-marks
tap p
xdotool mousemove 490 175 sleep 0.5
shot faulty-paths
stop

echo "-- two ships and more than 100 mines"
{
    echo ".S..................S."
    for _ in $(seq 6); do echo "vvvvvvvvvvvvvvvvvv...."; done
    for _ in $(seq 9); do echo "......................"; done
} >"$work/crowded.txt"
start "$work/crowded.txt"
xdotool mousemove 500 120 sleep 0.5
shot faulty-crowded
stop
echo "screenshots in $out"
