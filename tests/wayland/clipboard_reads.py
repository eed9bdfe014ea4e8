"""The clipboard read as the tests wait on it, on any desktop of compositor.py."""
import time


def known_clipboard(desktop):
    """The clipboard's text; a read that fails on a busy machine is tried again."""
    for _ in range(5):
        text = desktop.clipboard()
        if text is not None:
            return text
        time.sleep(0.3)
    return None


def seconds_until_gone(desktop, password, most, started=None):
    """Seconds from `started` (now when not given) until the clipboard no
    longer holds `password`, or None when it still does after `most`."""
    started = time.monotonic() if started is None else started
    while time.monotonic() - started < most:
        text = desktop.clipboard()
        if text is not None and text != password:
            return time.monotonic() - started
        time.sleep(0.2)
    return None
