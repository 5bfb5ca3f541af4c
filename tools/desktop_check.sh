#!/usr/bin/env bash
# Checks the installed game as a user meets it, on a virtual X screen: the Debian package's
# program started from / shows level 1 after a quick click on the menu, Alt+Enter goes to a
# window and back with the game going on, no display ends with status 1 at once, the error box
# of a short level file names it and closes with Return, and SIGTERM ends that box too. Screenshots go to OUT_DIR (default build-package/desktop-check) for a look.
#
#   tools/desktop_check.sh [OUT_DIR]        (after tools/setup.sh package)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/build-package/desktop-check}
"$top/tools/install-packages.sh" xvfb xdotool imagemagick x11-utils dpkg
deb=$(ls "$top"/build-package/vorkalith_*.deb | head -1)
mkdir -p "$out"
root=$(mktemp -d)
dpkg-deb -x "$deb" "$root"
game=$root/usr/games/vorkalith

pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$root"
}
trap cleanup EXIT

screen=:$((90 + RANDOM % 100))
Xvfb "$screen" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$screen
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

shot() { import -window root "$out/$1.png"; }

echo "-- no display"
start=$(date +%s%N)
status=0
env -u DISPLAY -u WAYLAND_DISPLAY "$game" || status=$?
echo "status $status after $((($(date +%s%N) - start) / 1000000)) ms"

echo "-- from /, full screen, a game started, Alt+Enter to a window and back"
(cd / && exec "$game") &
pids+=($!)
sleep 4
shot menu
# The menu's first item at 1920x1080: the 640x480 picture scaled 2.25 times, 240 pixels in.
xdotool mousemove 960 540 sleep 0.3 click 1
sleep 2
shot play
xdotool key alt+Return
sleep 1.5
shot window
xdotool key alt+Return
sleep 1.5
shot fullscreen-again
kill -TERM "${pids[-1]}"
wait "${pids[-1]}" || true

echo "-- the error box of a short level file, closed with Return"
levels=$(mktemp -d)
head -c 100 /dev/zero >"$levels/1.vrk"
"$game" --levels "$levels" &
game_pid=$!
sleep 3
shot error-box-return
xdotool key Return
sleep 1.5
shot after-error-box
kill -TERM "$game_pid"
wait "$game_pid" || true

echo "-- SIGTERM while the error box of a short level file is open"
"$game" --levels "$levels" &
game_pid=$!
sleep 3
shot error-box
start=$(date +%s%N)
kill -TERM "$game_pid"
status=0
wait "$game_pid" || status=$?
echo "status $status (143 is SIGTERM) after $((($(date +%s%N) - start) / 1000000)) ms"
rm -rf "$levels"
echo "screenshots in $out"
