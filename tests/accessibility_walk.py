#!/usr/bin/python3
"""Reads the real window as a screen reader does, over the AT-SPI bus.

    accessibility_walk.py PROGRAM

Run inside a D-Bus session with the accessibility bus and an X display
(tests/accessibility.sh sets them up). Exits 77 when the bus does not answer.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

SKIP = 77
TITLE = "Morvane Password Generator"
CONTROL_ROLES = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
                 pyatspi.ROLE_TEXT, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_COMBO_BOX,
                 pyatspi.ROLE_PROGRESS_BAR, pyatspi.ROLE_IMAGE, pyatspi.ROLE_MENU_ITEM,
                 pyatspi.ROLE_LABEL, pyatspi.ROLE_TOOL_BAR, pyatspi.ROLE_MENU_BAR,
                 pyatspi.ROLE_STATUS_BAR, pyatspi.ROLE_PANEL, pyatspi.ROLE_NOTIFICATION}
# Tab from the first option goes down the options, through the list and the
# commands and the status they report, then along the strip under them, and
# round again.
TAB_ORDER = [
    "Letters", "Upper-case letters, A to Z", "Lower-case letters, a to z", "Numbers, 0 to 9",
    "Special characters such as tilde, exclamation mark and at sign", "Include other characters",
    "Other characters to include", "Leave out spaces", "Leave out look-alikes such as zero and capital O",
    "Leave out duplicate passwords", "Leave out other characters", "Other characters to leave out",
    "Variable length", "Min Length  (>3):", "Max Length (<129):", "Num passwords:", "Password list",
    "Generate", "Save", "Print", "Help?", "About", "Clear", "Exit",
    "Percent done", "Status:", "Passwords Generated:", "Time Started:", "Time Completed:", "Total (seconds):",
    "Passwords", "One of each type",
]
MENUS = {"f": "File", "e": "Edit", "o": "Format", "i": "Profiles", "h": "Help"}
# Alt with these keys takes the focus to the option (and ticks or clears a box).
ACCESS_KEYS = {"z": "Lower-case letters, a to z", "exclam": "Special characters such as tilde, "
               "exclamation mark and at sign", "t": "Leave out other characters", "m": "Min Length  (>3):",
               "1": "Max Length (<129):", "n": "Num passwords:"}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


def pump(seconds):
    """Lets the bus deliver its events for a while."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def states(o):
    return o.getState()


def showing(o):
    return states(o).contains(pyatspi.STATE_SHOWING)


def walk(o):
    """Every object a reader can reach: showing, under showing parents."""
    yield o
    for i in range(o.childCount):
        child = o.getChildAtIndex(i)
        if child is not None and showing(child):
            yield from walk(child)


def find(root, role, name=None, under=None):
    for o in walk(root):
        if o.getRole() == role and (name is None or o.name == name):
            if under is None or (o.parent is not None and o.parent.name == under):
                return o
    return None


def focused(root):
    for o in walk(root):
        if states(o).contains(pyatspi.STATE_FOCUSED) and o.getRole() != pyatspi.ROLE_FRAME:
            return o
    return None


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=False)


def wait_for(what, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = what()
        if found:
            return found
        pump(0.2)
    return None


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == TITLE:
            for k in range(app.childCount):
                frame = app.getChildAtIndex(k)
                if frame is not None and frame.getRole() == pyatspi.ROLE_FRAME and frame.name == TITLE:
                    return frame
    return None


def check_names(frame):
    """Every control has a name; no two controls Tab can reach share one."""
    focusable = {}
    for o in walk(frame):
        if o.getRole() not in CONTROL_ROLES:
            continue
        where = f"{o.getRoleName()} under {o.parent.name!r}"
        check(o.name.strip() != "", f"a {where} has no name")
        if states(o).contains(pyatspi.STATE_FOCUSABLE) and o.name:
            focusable.setdefault(o.name, []).append(where)
    for name, places in focusable.items():
        check(len(places) == 1, f"{len(places)} controls are named {name!r}: {places}")
    for name in TAB_ORDER:
        check(name in focusable, f"no control is named {name!r}")


def check_generate(frame, announced):
    """Generate's accessible action fills the list that the list's text then holds."""
    count = int(find(frame, pyatspi.ROLE_TEXT, "Num passwords:").queryText().getText(0, -1))
    button = find(frame, pyatspi.ROLE_PUSH_BUTTON, "Generate", under="Commands")
    action = button.queryAction()
    check(action.nActions >= 1, "Generate has no accessible action")
    action.doAction(0)
    text = find(frame, pyatspi.ROLE_TEXT, "Password list").queryText()
    lines = wait_for(lambda: [l for l in text.getText(0, -1).splitlines() if l] or None, 10) or []
    check(len(lines) == count, f"the list holds {len(lines)} lines after Generate, not {count}")
    pump(1.5)
    check("Complete" in [words for _, words in announced], f"'Complete' was not announced: {announced}")


def check_strength(frame, announced):
    """The strength line is readable, and a burst of changes is announced once a second at most."""
    line = next((o for o in walk(frame) if o.getRole() == pyatspi.ROLE_LABEL and o.name.startswith("Strength:")),
                None)
    check(line is not None, "no readable strength line")
    field = find(frame, pyatspi.ROLE_TEXT, "Max Length (<129):").queryEditableText()
    before = len(announced)
    for length in range(20, 30):
        field.setTextContents(str(length))
        pump(0.05)
    pump(2.5)
    burst = announced[before:]
    check(1 <= len(burst) <= 3, f"ten quick changes of the strength gave {len(burst)} announcements: {burst}")
    if line is not None and burst:
        check(burst[-1][1] == line.name, f"the last announcement {burst[-1][1]!r} is not the line {line.name!r}")


def check_clipboard(frame, announced):
    """A copy's countdown is announced when it starts and when the clipboard is cleared."""
    for entry in ("Select All", "Copy"):
        # Menu entries are there to act on while their menu is closed.
        item = next(o for o in all_objects(frame) if o.getRole() == pyatspi.ROLE_MENU_ITEM and o.name == entry)
        item.queryAction().doAction(0)
    pump(4)
    words = [w for _, w in announced]
    check(any(w.startswith("Clipboard clears in") for w in words), f"the countdown's start was not announced: {words}")
    check("Clipboard cleared" in words, f"the clearing was not announced: {words}")


def check_profiles(frame):
    """The profiles are read by name, built-in ones marked, and one chosen sets the fields."""
    entries = [o.name for o in all_objects(frame) if o.getRole() in (pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_CHECK_MENU_ITEM,
                                                                     pyatspi.ROLE_RADIO_MENU_ITEM)]
    for name in ("pin4 (built-in)", "strong (built-in)", "passphrase8 (built-in)", "Save Options as Profile...",
                 "Start with the Defaults"):
        check(name in entries, f"the Profiles menu does not read {name!r}: {entries}")
    strong = next((o for o in all_objects(frame) if o.name == "strong (built-in)"), None)
    if strong is None:
        return
    strong.queryAction().doAction(0)
    field = find(frame, pyatspi.ROLE_TEXT, "Max Length (<129):")
    check(wait_for(lambda: field.queryText().getText(0, -1) == "20", 5),
          f"choosing strong left Max Length at {field.queryText().getText(0, -1)!r}")


def all_objects(o):
    yield o
    for i in range(o.childCount):
        child = o.getChildAtIndex(i)
        if child is not None:
            yield from all_objects(child)


def check_not_found(frame, app, announced):
    """A search that finds nothing says so."""
    window = subprocess.run(["xdotool", "search", "--name", f"^{TITLE}$"], capture_output=True,
                            text=True).stdout.split()
    xdotool("windowfocus", "--sync", window[0])
    find(frame, pyatspi.ROLE_TEXT, "Password list").queryComponent().grabFocus()
    xdotool("key", "ctrl+f")
    dialog = wait_for(lambda: next((o for o in app_windows(app) if o.name == "Find"), None), 10)
    check(dialog is not None, "Ctrl+F opened no Find dialog")
    if dialog is None:
        return
    before = len(announced)
    field = next(o for o in walk(dialog) if o.getRole() == pyatspi.ROLE_TEXT)
    field.queryEditableText().setTextContents("no such password ~~~")
    find(dialog, pyatspi.ROLE_PUSH_BUTTON, "Find Next").queryAction().doAction(0)
    pump(2)
    check("Not found" in [w for _, w in announced[before:]], f"'Not found' was not announced: {announced[before:]}")
    xdotool("key", "Escape")
    pump(0.5)


def app_windows(app):
    return [app.getChildAtIndex(i) for i in range(app.childCount) if app.getChildAtIndex(i) is not None]


def check_keyboard(frame):
    """Tab goes round every control in reading order; Ctrl+Tab leaves the list; Alt opens each menu."""
    window = subprocess.run(["xdotool", "search", "--name", f"^{TITLE}$"], capture_output=True,
                            text=True).stdout.split()
    xdotool("windowfocus", "--sync", window[0])
    find(frame, pyatspi.ROLE_CHECK_BOX, "Letters").queryComponent().grabFocus()
    pump(0.3)
    walked = []
    for _ in range(len(TAB_ORDER) + 1):
        now = wait_for(lambda: focused(frame), 5)
        walked.append(now.name if now is not None else None)
        xdotool("key", "Tab")
        # The focus moves on when the window has taken the key.
        wait_for(lambda: (lambda f: f is not None and f.name != walked[-1])(focused(frame)), 3)
    check(walked == TAB_ORDER + TAB_ORDER[:1], f"Tab walked {walked}")

    reachable = {o.name for o in walk(frame)
                 if states(o).contains(pyatspi.STATE_FOCUSABLE) and states(o).contains(pyatspi.STATE_ENABLED)
                 and o.getRole() in CONTROL_ROLES}
    # The other choices of the radio buttons are an arrow key away.
    check(reachable - set(TAB_ORDER) == {"Passphrases", "Pronounceable", "Site rules"},
          f"Tab never reaches {sorted(reachable - set(TAB_ORDER))}")
    find(frame, pyatspi.ROLE_RADIO_BUTTON, "Passwords").queryComponent().grabFocus()
    pump(0.2)
    xdotool("key", "Down")
    wait_for(lambda: (lambda f: f is not None and f.name == "Passphrases")(focused(frame)), 5)
    now = focused(frame)
    check(now is not None and now.name == "Passphrases" and states(now).contains(pyatspi.STATE_CHECKED),
          f"Down from Passwords went to {now and now.name!r}")
    xdotool("key", "Up")
    wait_for(lambda: (lambda f: f is not None and f.name == "Passwords")(focused(frame)), 5)

    for keys in ("ctrl+Tab", "Tab"):
        find(frame, pyatspi.ROLE_TEXT, "Password list").queryComponent().grabFocus()
        pump(0.2)
        xdotool("key", keys)
        wait_for(lambda: (lambda f: f is not None and f.name == "Generate")(focused(frame)), 5)
        now = focused(frame)
        check(now is not None and now.name == "Generate", f"{keys} in the list went to {now and now.name!r}")

    def open_popup(menu):
        item = find(frame, pyatspi.ROLE_MENU_ITEM, menu)
        popup = item.getChildAtIndex(0) if item is not None and item.childCount else None
        return popup if popup is not None and showing(popup) else None

    for key, name in ACCESS_KEYS.items():
        find(frame, pyatspi.ROLE_TEXT, "Password list").queryComponent().grabFocus()
        pump(0.2)
        box = find(frame, pyatspi.ROLE_CHECK_BOX, name) is not None
        for _ in range(2 if box else 1):  # a box is ticked and back
            xdotool("key", f"alt+{key}")
            wait_for(lambda: (lambda f: f is not None and f.name == name)(focused(frame)), 5)
            now = focused(frame)
            check(now is not None and now.name == name, f"Alt+{key} went to {now and now.name!r}, not {name!r}")

    for letter, menu in MENUS.items():
        xdotool("key", f"alt+{letter}")
        check(wait_for(lambda: open_popup(menu), 5) is not None, f"Alt+{letter.upper()} did not open the {menu} menu")
        xdotool("key", "Escape")
        wait_for(lambda: open_popup(menu) is None, 5)
        xdotool("key", "Escape")  # and the menu bar lets the focus go
        pump(0.5)


def main():
    try:
        pyatspi.Registry.getDesktop(0).childCount
    except Exception as error:  # the bus is not there to read
        print(f"SKIPPED: the accessibility bus does not answer ({error})")
        return SKIP
    program = subprocess.Popen([sys.argv[1]])
    try:
        frame = wait_for(application, 30)
        if frame is None:
            print("FAIL: the window never appeared on the accessibility bus")
            return 1
        announced = []

        def heard(event):
            # An announcement is the live status shown anew with its words.
            if event.detail1 == 1 and event.source is not None and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
                announced.append((time.monotonic(), event.source.name))

        pyatspi.Registry.registerEventListener(heard, "object:state-changed:showing")
        pump(1.5)
        app = frame.parent
        check_names(frame)
        check_keyboard(frame)
        check_generate(frame, announced)
        check_strength(frame, announced)
        check_clipboard(frame, announced)
        check_not_found(frame, app, announced)
        check_profiles(frame)
        gaps = [b[0] - a[0] for a, b in zip(announced, announced[1:])]
        check(all(g > 0.8 for g in gaps), f"announcements came closer than a second: {gaps}")
        print("announced:", [w for _, w in announced])
    finally:
        program.kill()
        program.wait()
    print("0 failed" if not failures else f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
