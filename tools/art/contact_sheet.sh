#!/usr/bin/env bash
# Draws all stored pictures at 1:1, labelled with list and index, into one PNG for review.
# Installs Debian's Python imaging packages when missing.
#
#   tools/art/contact_sheet.sh OUTPUT.png [PICTURES_DIR]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
if [ $# -lt 1 ]; then
    echo "usage: tools/art/contact_sheet.sh OUTPUT.png [PICTURES_DIR]" >&2
    exit 2
fi
"$here/../install-packages.sh" python3 python3-pil python3-numpy fontconfig fonts-dejavu-core
exec /usr/bin/python3 "$here/contact_sheet.py" "$1" --pictures "${2:-$here/../../assets/pictures}"
