#!/usr/bin/env bash
# Installs what Vorkalith needs on Debian 12, builds it, and then plays or tests.
#
#   tools/setup.sh play       build and start the game
#   tools/setup.sh test       build and run every test
#   tools/setup.sh sanitize   build and run every test under AddressSanitizer + UndefinedBehaviorSanitizer
set -euo pipefail

mode=${1:-play}
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

tools/install-packages.sh build-essential cmake pkg-config git libsdl2-dev libsdl2-ttf-dev libfontconfig-dev \
    fontconfig fonts-dejavu-core fonts-dejavu-extra libgtest-dev libbenchmark-dev libxxhash-dev

jobs=$(nproc)
case "$mode" in
play)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
    cmake --build build -j "$jobs"
    cd build/run
    exec ./vorkalith "${@:2}"
    ;;
test)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
    cmake --build build -j "$jobs"
    ctest --test-dir build --output-on-failure -j "$jobs"
    ;;
sanitize)
    cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVORKALITH_SANITIZE=ON -DVORKALITH_BENCH=OFF
    cmake --build build-sanitize -j "$jobs"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
    ;;
*)
    echo "usage: tools/setup.sh play|test|sanitize" >&2
    exit 2
    ;;
esac
