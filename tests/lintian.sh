#!/bin/bash
# Packs the build as a Debian package and checks it with lintian: no error
# and no warning.   tests/lintian.sh BUILD-DIR
set -euo pipefail
build="$1"
if ! command -v lintian > /dev/null; then
    echo "lintian is not installed: the package was not checked"
    exit 0
fi
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" > /dev/null)
deb=$(ls "$out"/*.deb)
echo "$(basename "$deb")"
if lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1 | grep -v "root privileges"; then :; fi
if lintian --fail-on error,warning "$deb" > /dev/null 2>&1; then
    echo "1 passed, 0 failed"
else
    echo "0 passed, 1 failed"
    exit 1
fi
