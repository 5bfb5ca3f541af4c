#!/usr/bin/env bash
# Makes the demos of tests/demos again from the current game (run from a Release build folder's
# parent with: tests/demos/make-demos.sh BUILD). Only needed when a demo's inputs must change; for
# a rule change that is meant, rebuild the expected results instead:
#   cmake --build BUILD --target rebuild_demo_results
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: make-demos.sh BUILD}" && pwd)
cd "$build/run"
"$build/run/vorkalith-sim" --utc 12:00:00.000 --force --to-demo "$here/menu-tour.vkd" "$here/menu-tour.sim" >/dev/null
"$build/tools/vk_demobot" energy "$here/energy.vkd" --utc 09:15:00.000
"$build/tools/vk_demobot" mine "$here/mine.vkd" --utc 09:15:00.000
"$build/tools/vk_demobot" level2 "$here/level2.vkd" --utc 09:15:00.000
# A play-test in the level editor, made by its test (the level is playtest-level.txt as 7.vrk).
VK_KEEP_PLAYTEST_DEMO="$here/playtest.vkd" "$build/tests/edit_tests" \
    --gtest_filter=PlayTestTest.StateLinesEqualThoseOfTheGameStartedOnTheLevelFileWithTheSameInputs >/dev/null
# On the one-cell levels the time of day 09:15:00.132 puts an orb of the new game under the ship.
cd "$build/demo-levels"
"$build/tools/vk_demobot" end "$here/end.vkd" --utc 09:15:00.132 --max-frames 40000
