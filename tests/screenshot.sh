#!/bin/bash
# Takes a screenshot of the real window under Xvfb: tests/screenshot.sh [build-dir] [out.png]
set -euo pipefail
build="${1:-build}"
out="${2:-$build/morvane-window.png}"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" "$build/morvane_screenshot" "$out"
