#!/usr/bin/env bash
# Fuzzes one harness of tests/fuzz with libFuzzer under AddressSanitizer + UndefinedBehaviorSanitizer.
#
#   tools/fuzz.sh NAME MINUTES     NAME is a harness: level, picture, form, keys, demo (or any
#                                  vk_fuzz_target); MINUTES of fuzzing on one core
#
# Builds into build-fuzz/ with clang. New inputs go to build-fuzz/fuzz-work/NAME/corpus (the
# seeds in tests/fuzz/corpus/NAME are only read); an input that crashes is saved into
# tests/fuzz/crashes/NAME/, where the replay tests pick it up once it is committed. The game's own
# output is silenced; libFuzzer's lines and any sanitizer report still show.
set -euo pipefail

usage() {
    echo "usage: tools/fuzz.sh NAME MINUTES" >&2
    exit 2
}
if [ "${1:-}" = "--help" ]; then
    sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'
    exit 0
fi
[ $# -eq 2 ] || usage
name=$1
minutes=$2
[[ "$minutes" =~ ^[0-9]+$ ]] && [ "$minutes" -gt 0 ] || usage

top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
[ -f "tests/fuzz/${name}_fuzz.cpp" ] || { echo "tools/fuzz.sh: no harness tests/fuzz/${name}_fuzz.cpp" >&2; exit 2; }

tools/install-packages.sh build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev \
    fontconfig fonts-dejavu-core libgtest-dev clang libclang-rt-14-dev

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORKALITH_SANITIZE=ON \
    -DVORKALITH_FUZZ=ON -DVORKALITH_BENCH=OFF >/dev/null
cmake --build build-fuzz -j 2 --target "${name}_fuzz"

work="$top/build-fuzz/fuzz-work/$name"
crashes="$top/tests/fuzz/crashes/$name"
mkdir -p "$work/corpus" "$crashes"
cd "$work"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$top/build-fuzz/tests/fuzz/${name}_fuzz" -max_total_time=$((minutes * 60)) -timeout=10 \
    -rss_limit_mb=4096 -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$crashes/" \
    "$work/corpus" "$top/tests/fuzz/corpus/$name"
