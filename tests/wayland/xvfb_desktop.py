"""An X display of its own (Xvfb) for the clipboard tests, read with xclip."""
import os
import shutil
import subprocess
import time

SKIP = 77


class Xvfb:
    def __init__(self):
        if not (shutil.which("Xvfb") and shutil.which("xclip")):
            print("Xvfb or xclip is missing; skipped")
            raise SystemExit(SKIP)
        read, write = os.pipe()
        # -displayfd: the server picks a free display and says which.
        self.process = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp"],
                                        pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as said:
            number = said.readline().strip()
        if not number:
            print("Xvfb could not start; skipped")
            raise SystemExit(SKIP)
        os.environ["DISPLAY"] = ":" + number
        os.environ.pop("WAYLAND_DISPLAY", None)
        time.sleep(0.2)

    def _xclip(self, *args, text=None):
        try:
            r = subprocess.run(["xclip", "-selection", "clipboard", *args], input=text, capture_output=True,
                               timeout=5)
        except subprocess.TimeoutExpired:
            return None
        return r.stdout.decode("utf-8", "replace") if r.returncode == 0 else ""

    def clipboard(self):
        return self._xclip("-o", "-t", "UTF8_STRING")

    def types(self):
        return (self._xclip("-o", "-t", "TARGETS") or "").split()

    def put(self, text):
        subprocess.Popen(["xclip", "-selection", "clipboard", "-i"], stdin=subprocess.PIPE,
                         stderr=subprocess.DEVNULL).communicate(text.encode(), timeout=5)

    def close(self):
        self.process.terminate()
        self.process.wait(10)
