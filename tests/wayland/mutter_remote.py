"""A headless GNOME compositor (mutter) driven as a remote desktop client
drives it: keys through its RemoteDesktop interface, and the clipboard read
through the same session, which moves no focus."""
import glob
import os
import re
import select
import shutil
import subprocess
import tempfile
import time

import gi

from wl_clipboard import wl_put, wl_types

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

SKIP = 77  # what CTest counts as skipped

_REMOTE = "org.gnome.Mutter.RemoteDesktop"
_SESSION = _REMOTE + ".Session"
_KEYSYMS = {"ctrl": 0xffe3, "shift": 0xffe1, "alt": 0xffe9, "insert": 0xff63, "delete": 0xffff,
            "return": 0xff0d, "tab": 0xff09, "escape": 0xff1b, "menu": 0xff67, "home": 0xff50,
            "end": 0xff57, "f4": 0xffc1}


class Mutter:
    """mutter --headless on a Wayland display of its own, with XWayland."""

    def __init__(self, xwayland=False):
        if not shutil.which("mutter"):
            raise SystemExit(SKIP)
        self.runtime = tempfile.mkdtemp(prefix="mutter-")
        os.environ["XDG_RUNTIME_DIR"] = self.runtime
        self.display = "wayland-test"
        self.log = open(os.path.join(self.runtime, "mutter.log"), "w")
        self.process = subprocess.Popen(
            ["mutter", "--headless", "--wayland", "--virtual-monitor", "1280x800",
             "--wayland-display=" + self.display],
            stdout=self.log, stderr=subprocess.STDOUT)
        socket = os.path.join(self.runtime, self.display)
        deadline = time.monotonic() + 20
        while not os.path.exists(socket):
            if self.process.poll() is not None or time.monotonic() > deadline:
                print("mutter could not start; skipped")
                raise SystemExit(SKIP)
            time.sleep(0.1)
        os.environ["WAYLAND_DISPLAY"] = self.display
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        # The display may be up before the remote desktop service is.
        while not self.bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                     "NameHasOwner", GLib.Variant("(s)", (_REMOTE,)), GLib.VariantType("(b)"),
                                     Gio.DBusCallFlags.NONE, 5000, None)[0]:
            if self.process.poll() is not None or time.monotonic() > deadline:
                print("mutter's remote desktop service did not start; skipped")
                raise SystemExit(SKIP)
            time.sleep(0.1)
        self.session = self._call("/org/gnome/Mutter/RemoteDesktop", _REMOTE, "CreateSession",
                                  reply="(o)")[0]
        self._call(self.session, _SESSION, "Start")
        self._call(self.session, _SESSION, "EnableClipboard", GLib.Variant("(a{sv})", ({},)))
        self.key("shift")  # the seat has a keyboard from the first key on
        time.sleep(0.5)
        if xwayland:
            self._use_xwayland(deadline)

    def _use_xwayland(self, deadline):
        """DISPLAY and XAUTHORITY of the XWayland mutter runs, as GNOME
        gives them to X programs."""
        said = re.compile(r"Using public X11 display (:\d+)")
        while True:
            with open(self.log.name) as log:
                found = said.search(log.read())
            authority = glob.glob(os.path.join(self.runtime, ".mutter-Xwaylandauth.*"))
            if found and authority:
                break
            if time.monotonic() > deadline:
                print("mutter's XWayland did not start; skipped")
                raise SystemExit(SKIP)
            time.sleep(0.1)
        os.environ["DISPLAY"] = found.group(1)
        os.environ["XAUTHORITY"] = authority[0]

    def _call(self, path, interface, method, args=None, reply=None):
        return self.bus.call_sync(_REMOTE, path, interface, method, args,
                                  GLib.VariantType(reply) if reply else None,
                                  Gio.DBusCallFlags.NONE, 5000, None)

    def key(self, *chords):
        """Presses each chord ('ctrl+c', 'Tab', 'x'), modifiers held."""
        for chord in chords:
            keys = [ord(k) if len(k) == 1 else _KEYSYMS[k.lower()] for k in chord.split("+")]
            for k in keys:
                self._call(self.session, _SESSION, "NotifyKeyboardKeysym", GLib.Variant("(ub)", (k, True)))
            for k in reversed(keys):
                self._call(self.session, _SESSION, "NotifyKeyboardKeysym", GLib.Variant("(ub)", (k, False)))
            time.sleep(0.15)

    def clipboard(self):
        """The clipboard's text as any client reads it, or None."""
        try:
            result, fds = self.bus.call_with_unix_fd_list_sync(
                _REMOTE, self.session, _SESSION, "SelectionRead",
                GLib.Variant("(s)", ("text/plain;charset=utf-8",)), GLib.VariantType("(h)"),
                Gio.DBusCallFlags.NONE, 5000, None, None)
        except GLib.Error:
            return None
        fd = fds.get(result.unpack()[0])
        data = b""
        try:
            while select.select([fd], [], [], 3)[0]:
                chunk = os.read(fd, 65536)
                if not chunk:
                    break
                data += chunk
        finally:
            os.close(fd)
        return data.decode("utf-8", "replace")

    put = staticmethod(wl_put)
    types = staticmethod(wl_types)

    def close(self):
        try:
            self._call(self.session, _SESSION, "Stop")
        except GLib.Error:
            pass
        self.process.terminate()
        self.process.wait(10)
        shutil.rmtree(self.runtime, ignore_errors=True)
