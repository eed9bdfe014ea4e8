"""The headless desktops the tests run on, by name."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))


def start(name):
    """mutter (under dbus-run-session; mutter-xwayland: with DISPLAY set to its
    XWayland), sway or x11 (Xvfb), started and ready
    for keys; exits 77 (skipped) where it cannot start."""
    if name == "x11":
        from xvfb_desktop import Xvfb
        return Xvfb()
    if name in ("mutter", "mutter-xwayland"):
        from mutter_remote import Mutter
        return Mutter(xwayland=name == "mutter-xwayland")
    from sway_remote import Sway
    return Sway()
