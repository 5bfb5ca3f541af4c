#!/usr/bin/env bash
# Renders the desktop icons (assets/icons) from the game's stored ship picture.
# Installs Debian's Python imaging packages when missing.
#
#   tools/art/make_icons.sh [OUTPUT_DIR]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
"$here/../install-packages.sh" python3 python3-pil python3-numpy
if [ $# -gt 0 ]; then
    exec /usr/bin/python3 "$here/make_icons.py" --out "$1"
fi
exec /usr/bin/python3 "$here/make_icons.py"
