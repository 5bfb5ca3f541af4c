#!/usr/bin/env bash
# Validates the desktop file and the metainfo of a configured build with the freedesktop
# tools, each when it is installed (desktop-file-utils, appstream). With --strict a missing
# tool is an error, as it is for the package.
#
#   packaging/validate.sh [--strict] BUILD_DIR
set -euo pipefail

strict=0
if [ "${1:-}" = --strict ]; then
    strict=1
    shift
fi
if [ $# -ne 1 ]; then
    echo "usage: packaging/validate.sh [--strict] BUILD_DIR" >&2
    exit 2
fi
build=$1

missing() {
    echo "validate.sh: $1 not installed, $2 not checked" >&2
    [ "$strict" -eq 0 ]
}

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$build/packaging/vorkalith.desktop"
    desktop-file-validate "$build/packaging/vorkalith-edit.desktop"
else
    missing desktop-file-validate "desktop file"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$build/packaging/org.example.vorkalith.metainfo.xml"
else
    missing appstreamcli metainfo
fi
