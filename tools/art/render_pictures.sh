#!/usr/bin/env bash
# Renders every stored picture of the game into assets/pictures (one .pic block per picture
# and catalogue.tsv). Installs Debian's Python imaging packages and fonts when missing.
#
#   tools/art/render_pictures.sh [OUTPUT_DIR]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-"$here/../../assets/pictures"}

"$here/../install-packages.sh" python3 python3-pil python3-numpy fontconfig fonts-dejavu-core fonts-urw-base35

exec /usr/bin/python3 "$here/make_pictures.py" --out "$out"
