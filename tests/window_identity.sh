#!/bin/bash
# The real window under Xvfb has the window class its menu entry names, so
# docks match the two:  tests/window_identity.sh SOURCE-DIR BUILD-DIR
set -euo pipefail
source_dir="$1"
build="$2"
entry="$source_dir/resources/org.example.morvane.desktop"
check() {
    local window=""
    "$build/morvane" & local program=$!
    trap 'kill $program 2>/dev/null || true' RETURN
    for _ in $(seq 300); do
        for candidate in $(xwininfo -root -tree | awk '/"Morvane Password Generator"/ { print $1 }'); do
            xprop -id "$candidate" WM_CLASS | grep -q '=' && window=$candidate
        done
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "no window"; return 1; }
    local class wanted
    class=$(xprop -id "$window" WM_CLASS)
    wanted=$(sed -n 's/^StartupWMClass=//p' "$entry")
    echo "$class"
    [ -n "$wanted" ] && echo "$class" | grep -q "\"$wanted\"" || { echo "class is not StartupWMClass=$wanted"; return 1; }
}
if [ "${3:-}" = "--on-display" ]; then
    check
    exit
fi
if QT_QPA_PLATFORM=xcb xvfb-run -a "$0" "$source_dir" "$build" --on-display; then
    echo "1 passed, 0 failed"
else
    echo "0 passed, 1 failed"
    exit 1
fi
