#!/usr/bin/env bash
# Validates the desktop file and the metainfo of a configured build with the freedesktop
# tools, each when it is installed (desktop-file-utils, appstream).
#
#   packaging/validate.sh BUILD_DIR
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: packaging/validate.sh BUILD_DIR" >&2
    exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
build=$1

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$here/vorkalith.desktop"
    desktop-file-validate "$here/vorkalith-edit.desktop"
else
    echo "validate.sh: desktop-file-validate not installed, desktop file not checked" >&2
fi
if command -v appstreamcli >/dev/null; then
    # The component id is the package's short name, as the file names are; appstream would
    # prefer a reverse-domain id, which is only advice.
    appstreamcli validate --no-net --override=cid-desktopapp-is-not-rdns=info \
        "$build/packaging/vorkalith.metainfo.xml"
else
    echo "validate.sh: appstreamcli not installed, metainfo not checked" >&2
fi
