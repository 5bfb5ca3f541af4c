#!/usr/bin/env bash
# Renders every stored picture of the game into assets/pictures (one .pic block per picture
# and catalogue.tsv). Installs Debian's Python imaging packages and fonts when missing.
#
#   tools/art/render_pictures.sh [OUTPUT_DIR]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-"$here/../../assets/pictures"}

packages=(python3 python3-pil python3-numpy fontconfig fonts-dejavu-core fonts-urw-base35)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y "${missing[@]}"
fi

exec /usr/bin/python3 "$here/make_pictures.py" --out "$out"
