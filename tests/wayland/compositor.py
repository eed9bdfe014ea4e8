"""The headless compositors the tests run on, by name."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))


def start(name):
    """mutter (under dbus-run-session) or sway, started and ready for keys;
    exits 77 (skipped) where it cannot start."""
    if name == "mutter":
        from mutter_remote import Mutter
        return Mutter()
    from sway_remote import Sway
    return Sway()
