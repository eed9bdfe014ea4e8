#!/bin/bash
# The window as a screen reader reads it: starts an X display, a D-Bus
# session and the accessibility bus, and walks the window over it.
#   tests/accessibility.sh BUILD-DIR
# Exits 77 (skipped) where one of them cannot start.
set -u
build="$1"
here="$(cd "$(dirname "$0")" && pwd)"
launcher=/usr/libexec/at-spi-bus-launcher
python=/usr/bin/python3  # the system's, which has pyatspi
if [ "${2:-}" != "--inside" ]; then
    for tool in xvfb-run dbus-run-session xdotool; do
        command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
    done
    [ -x "$launcher" ] || { echo "SKIPPED: at-spi2-core is not installed"; exit 77; }
    "$python" -c "import pyatspi" 2>/dev/null || { echo "SKIPPED: python3-pyatspi is not installed"; exit 77; }
    exec xvfb-run -a dbus-run-session -- "$0" "$build" --inside
fi
settings="$(mktemp -d)"
trap 'kill $bus 2>/dev/null; rm -rf "$settings"' EXIT
# Copies leave the clipboard after two seconds, so the test hears it.
mkdir -p "$settings/morvane"
printf '[clipboard]\nclearAfterSeconds=2\n' >"$settings/morvane/morvane.conf"
"$launcher" --launch-immediately & bus=$!
sleep 1
XDG_CONFIG_HOME="$settings" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$python" "$here/accessibility_walk.py" "$build/morvane"
