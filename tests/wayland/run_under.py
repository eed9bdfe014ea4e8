"""Runs a command on a headless Wayland compositor of its own.
  run_under.py mutter|sway COMMAND... (mutter under dbus-run-session)"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(__file__))
from compositor import start  # noqa: E402

desktop = start(sys.argv[1])
try:
    code = subprocess.run(sys.argv[2:], env=dict(os.environ, QT_QPA_PLATFORM="wayland"), timeout=300).returncode
finally:
    desktop.close()
sys.exit(code)
