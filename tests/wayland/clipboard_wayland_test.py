"""A password copied in the window, native on a Wayland compositor run
headless, leaves the clipboard after the delay by every route, with the
focus kept or moved, and at exit.
  clipboard_wayland_test.py mutter|mutter-xwayland|sway PROGRAM (mutter under
  dbus-run-session; mutter-xwayland: the window on its XWayland)"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
from clipboard_reads import known_clipboard, seconds_until_gone  # noqa: E402
from compositor import start  # noqa: E402

DELAY = 4  # seconds, as the window is told
compositor, program = sys.argv[1], sys.argv[2]
configs = tempfile.TemporaryDirectory(prefix="morvane-config-")


def start_window(settle=2.5):
    config = tempfile.mkdtemp(dir=configs.name)
    os.makedirs(os.path.join(config, "morvane"))
    with open(os.path.join(config, "morvane", "morvane.conf"), "w") as f:
        f.write("[clipboard]\nclearAfterSeconds=%d\n" % DELAY)
    platform = "xcb" if compositor.endswith("xwayland") else "wayland"
    env = dict(os.environ, QT_QPA_PLATFORM=platform, XDG_CONFIG_HOME=config)
    window = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(settle)  # shown, and given the focus
    return window


def copy_first_line(desktop, keys):
    """Generates, selects the list's first line and copies it; tried again
    while the window is still starting (a slow build may take seconds).
    The copied text and when the copy keys were pressed."""
    for _ in range(4):
        desktop.key("ctrl+g")
        time.sleep(1)
        copied_at = time.monotonic()
        desktop.key("ctrl+a", "ctrl+Home", "shift+End", *keys)  # Select All takes the focus to the list
        time.sleep(0.5)
        text = desktop.clipboard()
        if text:
            break
        time.sleep(2)
    return text, copied_at


def exit_and_check(desktop, window, password):
    """Exit > Yes during the countdown: (failed, what happened)."""
    desktop.key("ctrl+q")
    time.sleep(0.5)
    desktop.key("return")  # "Are you sure ...?" Yes
    try:
        window.wait(10)
    except subprocess.TimeoutExpired:
        return True, "the window did not end"
    # After the exit, and once more after a while: nothing republished.
    gone = known_clipboard(desktop) != password
    time.sleep(DELAY + 1)
    if gone and known_clipboard(desktop) != password:
        return False, "cleared at exit"
    return True, "still on the clipboard after the exit"


def check_countdown(desktop, password, copied_at):
    """The copy stays until the delay and goes after it: (failed, what
    happened)."""
    seen = known_clipboard(desktop)
    after = seconds_until_gone(desktop, password, DELAY + 8)
    if after is None:
        return True, "never cleared"
    if seen != password:
        return True, "gone before the delay (%r, not %r)" % (seen, password)
    return False, "cleared %.1f s after the copy keys" % (time.monotonic() - copied_at)


ROUTES = [  # name, keys that copy, what follows the copy
    ("Ctrl+C, focus kept", ["ctrl+c"], None),
    ("Ctrl+Insert, focus kept", ["ctrl+insert"], None),
    ("Shift+Delete, focus kept", ["shift+delete"], None),
    ("Edit > Copy from the keyboard, focus kept", ["alt+e", "c"], None),
    ("the list's menu: Copy, focus kept", ["menu", "c"], None),
    ("Ctrl+C, focus moved to another window", ["ctrl+c"], "move"),
    ("Ctrl+C, then Exit (Ctrl+Q) > Yes", ["ctrl+c"], "exit"),
]

desktop = start(compositor)
failures = 0
try:
    for name, keys, then in ROUTES:
        windows = [start_window()]
        password, copied_at = copy_first_line(desktop, keys)
        if not password or "\n" in password:
            failed, happened = True, "the copy did not reach the clipboard (%r)" % password
        elif then == "exit":
            failed, happened = exit_and_check(desktop, windows[0], password)
        else:
            if then == "move":
                windows.append(start_window(settle=1))  # takes the focus, as a browser would
            failed, happened = check_countdown(desktop, password, copied_at)
        print("%s %s on %s: %s" % ("FAIL" if failed else "ok", name, compositor, happened))
        failures += failed
        for window in windows:
            window.kill()
            window.wait()
finally:
    desktop.close()
    configs.cleanup()
sys.exit(1 if failures else 0)
