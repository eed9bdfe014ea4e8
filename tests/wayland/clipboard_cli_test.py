"""morvane-cli --copy on a desktop run headless: the first password goes to
the clipboard and not to the output, a shell that reads the output does not
wait for the clear, and the copy leaves after its delay, only while the
clipboard still holds it.
  clipboard_cli_test.py x11|mutter|sway MORVANE-CLI (mutter under dbus-run-session)"""
import os
import re
import shlex
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(__file__))
from clipboard_reads import known_clipboard as read, seconds_until_gone  # noqa: E402
from compositor import start  # noqa: E402

desktop_name, cli = sys.argv[1], sys.argv[2]
DELAY = 3
config = tempfile.TemporaryDirectory(prefix="morvane-config-")


def run(arguments, window_delay=None):
    """Runs morvane-cli as `$(morvane-cli ...)` in a shell: the output, the
    note and the exit code; a shell kept waiting fails."""
    env = dict(os.environ, XDG_CONFIG_HOME=config.name)
    settings = os.path.join(config.name, "morvane", "morvane.conf")
    os.makedirs(os.path.dirname(settings), exist_ok=True)
    with open(settings, "w") as f:
        f.write("" if window_delay is None else "[clipboard]\nclearAfterSeconds=%d\n" % window_delay)
    note = os.path.join(config.name, "note")
    shell = 'out=$(%s %s 2>%s); code=$?; printf "%%s" "$out"; exit $code' % (
        shlex.quote(cli), " ".join(map(shlex.quote, arguments)), shlex.quote(note))
    try:
        r = subprocess.run(["sh", "-c", shell], capture_output=True, env=env, timeout=DELAY + 10)
    except subprocess.TimeoutExpired:
        return None, "the shell waited for the clear", 124
    with open(note) as f:
        return r.stdout.decode(), f.read(), r.returncode


def check(cases_failed, name, failed, happened):
    print("%s %s on %s: %s" % ("FAIL" if failed else "ok", name, desktop_name, happened))
    return cases_failed + failed


desktop = start(desktop_name)
failures = 0
try:
    # The first password to the clipboard, the others written; the note
    # says until when; gone after the delay.
    started = time.monotonic()
    out, note, code = run(["-c", "-n", "3", "-l", "24", "--clear-after", str(DELAY)])
    copied = read(desktop)
    lines = (out or "").split("\n")
    failed = (code != 0 or len(lines) != 2 or any(len(line) != 24 for line in lines) or copied is None
              or len(copied) != 24 or copied in lines
              or not re.fullmatch(r"morvane-cli: the password is on the clipboard until "
                                  r"\d\d:\d\d:\d\d \(%d seconds\)\.\n" % DELAY, note))
    after = None if failed else seconds_until_gone(desktop, copied, DELAY + 8, started)
    failures = check(failures, "--copy -n 3", failed or after is None or after < DELAY - 0.5,
                     "cleared %.1f s after the copy" % after if after else
                     "code %s, output %r, note %r, clipboard %r" % (code, out, note, copied))
    if os.environ.get("DISPLAY"):  # the hint travels with the X clipboard, and from XWayland
        out, note, code = run(["-c", "--clear-after", str(DELAY)])
        types = desktop.types()
        failures = check(failures, "the secret hint", "x-kde-passwordManagerHint" not in types, " ".join(types))
        seconds_until_gone(desktop, read(desktop), DELAY + 8)

    # Copied over by someone else before the delay: left alone.
    out, note, code = run(["-c", "--clear-after", str(DELAY)])
    time.sleep(1)
    desktop.put("copied by someone else")
    time.sleep(DELAY + 2)
    kept = read(desktop)
    failures = check(failures, "another copy meanwhile", code != 0 or kept != "copied by someone else",
                     "the clipboard holds %r" % kept)

    # No delay given: the window's.
    out, note, code = run(["--copy"], window_delay=2)
    copied = read(desktop)
    failures = check(failures, "the window's delay", code != 0 or out != "" or "(2 seconds)" not in note
                     or seconds_until_gone(desktop, copied, 10) is None, note.strip())
finally:
    desktop.close()
    config.cleanup()
sys.exit(1 if failures else 0)
