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
echo "-- a play-test of level 7"
xdotool key F5 sleep 2 keydown Left sleep 1.5 keyup Left keydown Up sleep 1 keyup Up sleep 0.5
shot playtest-level7
xdotool key Escape sleep 1
shot back-from-playtest
stop

echo "-- a faulty level"
# Two ships, a walled-off pocket, a mine that meets the start, a mine that runs off the right.
cat >"$work/faulty.txt" <<'LEVEL'
......................
.S....................
......................
.>....................
..............#####...
..............#...#...
....<.........#...#...
..............#####...
......................
.......S..............
......................
......v...............
......................
......................
......................
......................
LEVEL
start "$work/faulty.txt"
# The pointer on the pocket, whose reason the status line gives.
xdotool mousemove 490 175 sleep 0.5
shot faulty-marks
xdotool key p sleep 0.5 mousemove 140 110 sleep 0.5
shot faulty-paths
stop
echo "screenshots in $out"
