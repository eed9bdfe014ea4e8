#!/bin/bash
# Pictures of every window under Xvfb at 96 and 144 dpi:
#   tests/screens.sh [build-dir] [out-folder]
set -euo pipefail
build="${1:-build}"
out="${2:-$build/screens}"
for dpi in 96 144; do
    scale=$(awk "BEGIN { print $dpi / 96 }")
    QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$scale" \
        xvfb-run -a -s "-screen 0 1600x1200x24 -dpi $dpi" "$build/morvane_screens" "$out/$dpi"
    pdftoppm -png -r 60 -f 1 -l 1 "$out/$dpi/printed.pdf" "$out/$dpi/printed"
done
