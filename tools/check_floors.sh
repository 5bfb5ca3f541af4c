#!/usr/bin/env bash
# Checks that every #include runs from a folder to a folder on a lower floor. Folders on the same
# floor never include each other, so no two folders can include each other either. A file in a
# folder missing from the table below is reported too, so the table (and docs/architecture.md,
# which draws it) grows with the tree.
#
#   tools/check_floors.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# floor folder: the longest folder that prefixes a path decides its floor.
floors='
12 tests
11 app/desktop
11 app/web
11 app/sim
11 app/edit
11 app/server
11 tools
11 bench
10 server
10 records
9 demo
9 settings
8 game
7 sprite
7 input
7 sound
7 level
6 display
5 platform/sdl
5 platform/web
5 platform/headless
4 platform/png
4 platform/inputmap
3 platform/app
3 platform/text
2 platform/pixels
2 platform/files
2 platform/time
3 client
1 platform/base
'

# The sources: git's list in a checkout, every source file of the tree otherwise.
sources() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files -- '*.cpp' '*.h' '*.inc'
    else
        find . -path './build*' -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.inc' \) -print | sed 's#^\./##'
    fi
}

sources | xargs grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' |
    awk -v floors="$floors" '
    BEGIN {
        n = split(floors, lines, "\n")
        for (i = 1; i <= n; i++) {
            if (split(lines[i], f, " ") == 2) { floor[f[2]] = f[1] }
        }
    }
    # The folder of the table that holds path, or "" when none does.
    function folder(path,    best, d) {
        best = ""
        for (d in floor) {
            if (index(path, d "/") == 1 && length(d) > length(best)) { best = d }
        }
        return best
    }
    {
        split($0, parts, ":")
        file = parts[1]; line = parts[2]
        match($0, /"[^"]*"/)
        target = substr($0, RSTART + 1, RLENGTH - 2)
        from = folder(file)
        if (from == "") {
            if (!(file in unknown)) { print file ": in no folder of the floor table"; unknown[file] = 1; bad = 1 }
            next
        }
        # Includes without a folder (generated files beside the source) stay in their folder.
        if (index(target, "/") == 0) { next }
        to = folder(target)
        if (to == "" || to == from) { next }
        if (floor[to] >= floor[from]) {
            printf "%s:%s: %s (floor %d) includes %s of %s (floor %d)\n", file, line, from, floor[from], target, to, floor[to]
            bad = 1
        }
    }
    END { exit bad }'
