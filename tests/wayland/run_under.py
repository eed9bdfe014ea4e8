"""Runs a command on a headless Wayland compositor of its own.
  run_under.py mutter|sway COMMAND... (mutter under dbus-run-session)"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(__file__))
compositor, command = sys.argv[1], sys.argv[2:]
if compositor == "mutter":
    from mutter_remote import Mutter as Compositor
else:
    from sway_remote import Sway as Compositor
running = Compositor()
try:
    code = subprocess.run(command, env=dict(os.environ, QT_QPA_PLATFORM="wayland"), timeout=300).returncode
finally:
    running.close()
sys.exit(code)
