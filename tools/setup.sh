#!/usr/bin/env bash
# Installs what Vorkalith needs on Debian 12, builds it, and then plays or tests.
#
#   tools/setup.sh play       build the game (no tests) into build-play/ and start it
#   tools/setup.sh test       build everything into build/ and run every test (the server's on SQLite and on a
#                             PostgreSQL cluster started for them)
#   tools/setup.sh sanitize   build and run every test under AddressSanitizer + UndefinedBehaviorSanitizer
#   tools/setup.sh clang      the same with clang instead of GCC, into build-clang/
#   tools/setup.sh package    build the game with Debian's flags (no tests), validate the desktop files, make
#                             the Debian packages of the game and its debug symbols (build-package/*.deb), run lintian
#   tools/setup.sh web        build the web page into build-web/page
#   tools/setup.sh serve      build the web page and serve it compressed on http://127.0.0.1:8000/ (PORT=... for another)
#   tools/setup.sh webtest    build the web page, run the unit tests under node, the browser tests (the page, and
#                             the leaderboard server's page) and Lighthouse
#   tools/setup.sh webbench   build both and time the frame handler natively and in Chromium (bench/web_frames.mjs)
set -euo pipefail

mode=${1:-play}
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

# What building the game needs (with the client that uploads to a leaderboard server); the tests,
# benchmarks, the server and the other builds need more.
game_packages=(build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev libfontconfig-dev fontconfig
    fonts-dejavu-core libpng-dev libxxhash-dev gettext libcpp-httplib-dev nlohmann-json3-dev
    libtomlplusplus-dev)
# The leaderboard server's databases, and PostgreSQL itself for its tests.
server_packages=(libsqlite3-dev libpq-dev postgresql)
# The tests of the languages: a Russian locale made by localedef, and the game's words read off a
# virtual screen by OCR.
language_test_packages=(locales xvfb xdotool imagemagick x11-utils python3 python3-pil tesseract-ocr tesseract-ocr-eng
    tesseract-ocr-rus)
# The game alone: the program and its level files, with neither tests, benchmarks nor the server configured.
game_only=(-DCMAKE_BUILD_TYPE=Release -DVORKALITH_TESTS=OFF -DVORKALITH_BENCH=OFF -DVORKALITH_SERVER=OFF)
game_targets=(vorkalith vk_levels vk_translations)

jobs=$(nproc)
case "$mode" in
play | package) tools/install-packages.sh "${game_packages[@]}" ;;
*)
    tools/install-packages.sh "${game_packages[@]}" "${server_packages[@]}" git fonts-dejavu-extra libgtest-dev \
        libbenchmark-dev "${language_test_packages[@]}"
    ;;
esac
case "$mode" in
play)
    cmake -S . -B build-play "${game_only[@]}"
    cmake --build build-play -j "$jobs" --target "${game_targets[@]}"
    cd build-play/run
    exec ./vorkalith "${@:2}"
    ;;
test)
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
    cmake --build build -j "$jobs"
    # The server's tests run on SQLite and on a PostgreSQL cluster of their own, stopped whatever happens.
    cluster=$(mktemp -d)
    trap 'tools/pg-test-cluster.sh stop "$cluster"' EXIT
    VK_TEST_POSTGRES_URL=$(tools/pg-test-cluster.sh start "$cluster")
    export VK_TEST_POSTGRES_URL
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
    # Desktop integration: the freedesktop validators, dpkg-shlibdeps and Debian's own checks.
    tools/install-packages.sh dpkg-dev desktop-file-utils appstream lintian
    # Debian's hardening: fortified functions, stack protector, read-only relocations bound at
    # start; -g for the debug symbols package. The release build's -O3 still comes last.
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    cmake -S . -B build-package "${game_only[@]}" -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games -DVORKALITH_DEBUG_PACKAGE=ON \
        -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
    cmake --build build-package -j "$jobs" --target "${game_targets[@]}" vorkalith-edit vk_compressed_docs \
        vk_split_debug_vorkalith vk_split_debug_vorkalith-edit
    packaging/validate.sh --strict build-package
    rm -f build-package/*.deb
    (cd build-package && cpack -G DEB)
    lintian --allow-root --fail-on error,warning build-package/vorkalith_*.deb build-package/vorkalith-dbg_*.deb
    ;;
web | serve | webtest | webbench)
    # The browser build: emscripten, node with acorn for its optimiser, chromium for the browser
    # test, zopfli for the page's gzip copies.
    tools/install-packages.sh emscripten nodejs node-acorn chromium python3 zopfli
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
        cmake --build build -j "$jobs" --target vk_menuframe vk_levels vk_translations
        (cd build/run && ../tools/vk_menuframe ../../build-web/menu-frame.ppm &&
            ../tools/vk_menuframe --lang en ../../build-web/menu-frame-en.ppm)
        # Its pictures (the loading screen on a slow line, the menu, play, the records) stay in
        # build-web/shots.
        node tests/web/browser_test.mjs build-web/page --menu-frame build-web/menu-frame.ppm \
            --menu-frame-en build-web/menu-frame-en.ppm --shots build-web/shots
        # The leaderboard server's page, its watch links playing demos in the page it serves, and
        # the page's offer to send the game just played.
        cmake --build build -j "$jobs" --target vorkalith-server
        node tests/web/server_test.mjs build/run/vorkalith-server build-web/page build/run tests/demos
        # Lighthouse, pinned by its lock file, against the page as `serve` serves it; the report
        # stays in build-web/. No package fetches a browser of its own: Debian's Chromium runs.
        # npm comes with some Node.js packages; Debian's own npm package only where none did.
        command -v npm >/dev/null || tools/install-packages.sh npm
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
