#!/usr/bin/env bash
# Builds the Debian package of this build folder and runs lintian on it. Fails
# on any error or warning; the README explains the notes lintian may still give.
#   lintian_check.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d "$build/lintian-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >cpack.log) || {
    cat "$work/cpack.log"
    exit 1
}
deb=$(ls "$work"/*.deb)
echo "lintian: $(basename "$deb")"
lintian --fail-on error,warning --info "$deb"
