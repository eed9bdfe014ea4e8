"""The clipboard as another Wayland client uses it: text copied as a user
copies in a browser, and the types it is offered in."""
import subprocess


def wl_put(text):
    subprocess.run(["wl-copy", "--type", "text/plain"], input=text.encode(), timeout=10,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def wl_types():
    try:
        r = subprocess.run(["wl-paste", "--list-types"], capture_output=True, timeout=5)
    except subprocess.TimeoutExpired:
        return []
    return r.stdout.decode("utf-8", "replace").split()
