"""A headless wlroots compositor (sway) for the tests: keys typed with
wtype, the clipboard read with wl-paste (through the data-control protocol,
which moves no focus). sway refuses to run as root, so it runs as nobody."""
import os
import shutil
import subprocess
import tempfile
import time

from wl_clipboard import wl_put

SKIP = 77
_NOBODY = 65534
_KEYS = {"ctrl": "ctrl", "shift": "shift", "alt": "alt"}
_NAMED = {"insert": "Insert", "delete": "Delete", "home": "Home", "end": "End", "return": "Return",
          "tab": "Tab", "menu": "Menu", "f4": "F4"}


class Sway:
    def __init__(self):
        if not (shutil.which("sway") and shutil.which("wtype") and shutil.which("wl-paste")):
            print("sway, wtype or wl-paste is missing; skipped")
            raise SystemExit(SKIP)
        self.runtime = tempfile.mkdtemp(prefix="sway-")
        config = os.path.join(self.runtime, "config")
        with open(config, "w") as f:
            f.write("output HEADLESS-1 resolution 1280x800\n")
        os.chmod(config, 0o644)
        if os.geteuid() == 0:
            os.chown(self.runtime, _NOBODY, _NOBODY)
        env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, HOME=self.runtime, WLR_BACKENDS="headless",
                   WLR_LIBINPUT_NO_DEVICES="1", WLR_RENDERER="pixman")
        env.pop("DISPLAY", None)
        env.pop("WAYLAND_DISPLAY", None)
        command = ["sway", "-c", config]
        if os.geteuid() == 0:
            command = ["setpriv", "--reuid=%d" % _NOBODY, "--regid=%d" % _NOBODY, "--clear-groups"] + command
        self.log = open(os.path.join(tempfile.gettempdir(), "sway-test.log"), "w")
        self.process = subprocess.Popen(command, env=env, stdout=self.log, stderr=subprocess.STDOUT)
        deadline = time.monotonic() + 20
        while not any(n.startswith("wayland-") and not n.endswith(".lock") for n in os.listdir(self.runtime)):
            if self.process.poll() is not None or time.monotonic() > deadline:
                print("sway could not start; skipped")
                raise SystemExit(SKIP)
            time.sleep(0.1)
        display = next(n for n in os.listdir(self.runtime) if n.startswith("wayland-") and not n.endswith(".lock"))
        os.environ["XDG_RUNTIME_DIR"] = self.runtime
        os.environ["WAYLAND_DISPLAY"] = display
        os.environ.pop("DISPLAY", None)
        # A keyboard that stays, so that the window has one before the first
        # key is typed (each wtype's own keyboard comes and goes with it).
        self.keyboard = subprocess.Popen(["wtype", "-s", "3600000"])
        time.sleep(0.5)

    def key(self, *chords):
        for chord in chords:
            *modifiers, last = chord.split("+")
            command = ["wtype"]
            for m in modifiers:
                command += ["-M", _KEYS[m.lower()]]
            command += ["-k", _NAMED[last.lower()]] if last.lower() in _NAMED else [last]
            for m in reversed(modifiers):
                command += ["-m", _KEYS[m.lower()]]
            subprocess.run(command, timeout=10, check=False)
            time.sleep(0.15)

    def clipboard(self):
        try:
            r = subprocess.run(["wl-paste", "--no-newline", "--type", "text"], capture_output=True, timeout=5)
        except subprocess.TimeoutExpired:
            return None
        return r.stdout.decode("utf-8", "replace") if r.returncode == 0 else ""

    put = staticmethod(wl_put)

    def close(self):
        self.keyboard.kill()
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
        shutil.rmtree(self.runtime, ignore_errors=True)
