#!/usr/bin/env bash
# Installs what Vorkalith needs on Debian 12, builds it, and then plays or tests.
#
#   tools/setup.sh play       build and start the game
#   tools/setup.sh test       build and run every test
#   tools/setup.sh sanitize   build and run every test under AddressSanitizer + UndefinedBehaviorSanitizer
#   tools/setup.sh clang      the same with clang instead of GCC, into build-clang/
#   tools/setup.sh package    build, validate the desktop files and make the Debian package (build/*.deb)
#   tools/setup.sh web        build the web page into build-web/page
#   tools/setup.sh serve      build the web page and serve it compressed on http://127.0.0.1:8000/ (PORT=... for another)
#   tools/setup.sh webtest    build the web page, run the unit tests under node, the browser test and Lighthouse
#   tools/setup.sh webbench   build both and time the frame handler natively and in Chromium (bench/web_frames.mjs)
set -euo pipefail

mode=${1:-play}
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

tools/install-packages.sh build-essential cmake pkg-config git libsdl2-dev libsdl2-ttf-dev libfontconfig-dev \
    fontconfig fonts-dejavu-core fonts-dejavu-extra libgtest-dev libbenchmark-dev libpng-dev libxxhash-dev

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
clang)
    # The second compiler: clang with libstdc++ must build the project warning-free too, and its
    # sanitizers run every test (the fuzz corpora included).
    tools/install-packages.sh clang libclang-rt-14-dev
    CC=clang CXX=clang++ cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=Debug -DVORKALITH_SANITIZE=ON \
        -DVORKALITH_BENCH=OFF
    cmake --build build-clang -j "$jobs"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-clang --output-on-failure -j "$jobs"
    ;;
package)
    # Desktop integration: the freedesktop validators and dpkg-shlibdeps for the package.
    tools/install-packages.sh dpkg-dev desktop-file-utils appstream
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
    cmake --build build -j "$jobs"
    packaging/validate.sh build
    (cd build && cpack -G DEB)
    ;;
web | serve | webtest | webbench)
    # The browser build: emscripten, node with acorn for its optimiser, chromium for the browser test.
    tools/install-packages.sh emscripten nodejs node-acorn chromium python3
    # The host tools (form packer, level compiler) come from the native build in build/.
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
    cmake --build build -j "$jobs" --target formpack vk_levelc
    cmake --preset web -DVORKALITH_HOST_TOOLS_DIR="$top/build/tools"
    cmake --build build-web -j "$jobs"
    case "$mode" in
    serve)
        # Compressed as a real web server sends it (docs/web.md): brotli or gzip, application/wasm.
        exec python3 tools/serve.py build-web/page "${PORT:-8000}"
        ;;
    webtest)
        ctest --test-dir build-web --output-on-failure -j "$jobs"
        # The native headless menu screen, which the page's menu must equal.
        cmake --build build -j "$jobs" --target vk_menuframe vk_levels
        (cd build/run && ../tools/vk_menuframe ../../build-web/menu-frame.ppm)
        node tests/web/browser_test.mjs build-web/page --menu-frame build-web/menu-frame.ppm
        # Lighthouse, pinned by its lock file, against the page as `serve` serves it; the report
        # stays in build-web/. No package fetches a browser of its own: Debian's Chromium runs.
        tools/install-packages.sh npm
        (cd tests/web/lighthouse && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --silent)
        port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
        python3 tools/serve.py build-web/page "$port" >/dev/null &
        server=$!
        trap 'kill $server' EXIT
        for _ in $(seq 50); do python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/')" \
            2>/dev/null && break; sleep 0.1; done
        node tests/web/lighthouse/audit.mjs "http://127.0.0.1:$port/" build-web/lighthouse-report.html
        ;;
    webbench)
        cmake --build build -j "$jobs" --target frame_time vk_levels
        node bench/web_frames.mjs "${@:2}"
        node bench/web_startup.mjs
        ;;
    esac
    ;;
*)
    echo "usage: tools/setup.sh play|test|sanitize|clang|package|web|serve|webtest|webbench" >&2
    exit 2
    ;;
esac
