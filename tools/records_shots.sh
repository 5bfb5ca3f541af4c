#!/usr/bin/env bash
# Looks at the records as a player meets them, on virtual X screens of the given sizes: the title
# with its hint line, a game paused, the records screen after a new record (its row marked) and a
# run watched from it. Runs and settings live in a scratch folder; a few runs are played first
# with vorkalith-sim --record-runs, one of them through all 24 levels of the one-cell test levels.
# Screenshots go to OUT_DIR (default BUILD/records-shots) as records-SIZE-WHAT.png.
#
#   tools/records_shots.sh [BUILD] [OUT_DIR] [SIZE...]      (after a build; SIZE like 640x480)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
out=${2:-$build/records-shots}
shift $(($# > 2 ? 2 : $#))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(640x480 1920x1080)
"$top/tools/install-packages.sh" xvfb xdotool imagemagick x11-utils
mkdir -p "$out"
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config

# Runs to list: a long game on the one-cell levels, and two short ones on the game's levels.
start_game='mouse 320 240
frames 2
button down
frames 1
button up
'
printf 'utc 09:15:00.132\n%sframes 23300\nkey esc down\nframes 1\nkey esc up\nframes 5\n' "$start_game" >"$work/long.sim"
(cd "$build/demo-levels" && "$build/run/vorkalith-sim" --record-runs "$work/long.sim" >/dev/null)
for utc in 10:00:00.000 11:30:00.000; do
    printf 'utc %s\n%skey right down\nframes 400\nkey right up\nkey down down\nframes 300\n' "$utc" "$start_game" \
        >"$work/short.sim"
    (cd "$build/run" && "$build/run/vorkalith-sim" --record-runs "$work/short.sim" >/dev/null)
done

tap() { xdotool keydown "$1" sleep 0.15 keyup "$1" sleep "${2:-0.5}"; }
for size in "${sizes[@]}"; do
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=:$(cat "$work/display")
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    shot() { import -window root "$out/records-$size-$1.png"; }

    (cd "$build/run" && exec ./vorkalith) &
    pids+=($!)
    sleep 3
    shot title
    # A game: the pointer on "Старт", scaled from the 640x480 picture to the screen.
    read -r width height <<<"$(echo "$size" | tr x ' ')"
    xdotool mousemove $((width / 2)) $((height / 2)) sleep 0.3 click 1 sleep 2.5
    tap Right 1.2
    tap Down 1.5
    tap p
    shot pause
    tap p 1
    tap Escape 2.5
    tap r 1
    shot records
    tap Up 0.3
    tap Up 0.3
    tap Return 4
    shot watch
    tap Escape 1
    tap Escape 0.5
    kill "${pids[-1]}" 2>/dev/null || true
    wait "${pids[-1]}" 2>/dev/null || true
    unset 'pids[-1]'
    kill "${pids[-1]}" 2>/dev/null || true
    unset 'pids[-1]'
done
echo "screenshots in $out"
