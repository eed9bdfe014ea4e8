"""A password copied in the window, native on a Wayland compositor run
headless, leaves the clipboard after the delay by every route, with the
focus kept or moved, and at exit.
  clipboard_wayland_test.py mutter|sway PROGRAM (mutter under dbus-run-session)"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))

DELAY = 4  # seconds, as the window is told
compositor, program = sys.argv[1], sys.argv[2]


def start_window(mutter, settle=2.5):
    config = tempfile.mkdtemp(prefix="morvane-config-")
    os.makedirs(os.path.join(config, "Morvane"))
    with open(os.path.join(config, "Morvane", "Morvane Password Generator.conf"), "w") as f:
        f.write("[clipboard]\nclearAfterSeconds=%d\n" % DELAY)
    env = dict(os.environ, QT_QPA_PLATFORM="wayland", XDG_CONFIG_HOME=config)
    window = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(settle)  # shown, and given the focus
    return window


def copy_first_line(mutter, keys):
    """Generates, selects the list's first line and copies it; tried again
    while the window is still starting (a slow build may take seconds)."""
    global copied_at
    for _ in range(4):
        mutter.key("ctrl+g")
        time.sleep(1)
        copied_at = time.monotonic()
        mutter.key("ctrl+a", "ctrl+Home", "shift+End", *keys)  # Select All takes the focus to the list
        time.sleep(0.5)
        text = mutter.clipboard()
        if text:
            return text
        time.sleep(2)
    return text


def known_clipboard(mutter):
    """The clipboard's text; a read that fails on a busy machine is tried again."""
    for _ in range(5):
        text = mutter.clipboard()
        if text is not None:
            return text
        time.sleep(0.3)
    return None


def seconds_until_gone(mutter, password, most):
    start = time.monotonic()
    while time.monotonic() - start < most:
        text = mutter.clipboard()
        if text is not None and text != password:
            return time.monotonic() - start
        time.sleep(0.2)
    return None


def move_focus(mutter):
    """Another window takes the focus, as a browser would."""
    return start_window(mutter, settle=1)


ROUTES = [  # name, keys that copy, what follows the copy
    ("Ctrl+C, focus kept", ["ctrl+c"], None),
    ("Ctrl+Insert, focus kept", ["ctrl+insert"], None),
    ("Shift+Delete, focus kept", ["shift+delete"], None),
    ("Edit > Copy from the keyboard, focus kept", ["alt+e", "c"], None),
    ("the list's menu: Copy, focus kept", ["menu", "c"], None),
    ("Ctrl+C, focus moved to another window", ["ctrl+c"], "move"),
    ("Ctrl+C, then Exit (Ctrl+Q) > Yes", ["ctrl+c"], "exit"),
]

if compositor == "mutter":
    from mutter_remote import Mutter
    mutter = Mutter()
else:
    from sway_remote import Sway
    mutter = Sway()
failures = 0
try:
    for name, keys, then in ROUTES:
        window = start_window(mutter)
        other = None
        copied_at = time.monotonic()
        password = copy_first_line(mutter, keys)
        if not password or "\n" in password:
            print("FAIL %s: the copy did not reach the clipboard (%r)" % (name, password))
            failures += 1
            window.kill()
            continue
        if then == "move":
            other = move_focus(mutter)
        if then == "exit":
            mutter.key("ctrl+q")
            time.sleep(0.5)
            mutter.key("return")  # "Are you sure ...?" Yes
            try:
                window.wait(10)
            except subprocess.TimeoutExpired:
                print("FAIL %s: the window did not end" % name)
                failures += 1
            # After the exit, and once more after a while: nothing republished.
            gone = known_clipboard(mutter) != password
            time.sleep(DELAY + 1)
            gone = gone and known_clipboard(mutter) != password
            print("%s %s on %s: %s at exit" % ("ok" if gone else "FAIL", name, compositor,
                                         "cleared" if gone else "still on the clipboard"))
            failures += not gone
            continue
        seen = known_clipboard(mutter)
        still = seen == password
        after = seconds_until_gone(mutter, password, DELAY + 8)
        if after is None or not still:
            print("FAIL %s: %s" % (name, "never cleared" if after is None else
                                   "gone before the delay (%r, not %r)" % (seen, password)))
            failures += 1
        else:
            print("ok %s on %s: cleared %.1f s after the copy" % (name, compositor, time.monotonic() - copied_at))
        for w in (window, other):
            if w:
                w.kill()
                w.wait()
finally:
    mutter.close()
sys.exit(1 if failures else 0)
