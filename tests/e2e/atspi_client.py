# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the dictionary window over the accessibility bus the way a screen reader does.

Checks that every control on the screen is named, that the client area holds exactly the
controls that can be seen, with the names of the mode, and that a looked-up definition
reaches the reader: the definition box is named after the entry, its text is readable, a
text-changed event announced it, and the focus is back in the search box. Prints each
control's role, name and description. Exit status 0 when every check passed, 1 otherwise.

Usage: atspi_client.py WORD IDIOM
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# Containers and the scroll bars of Qt's scroll areas: not controls that need a name.
UNNAMED_ROLES = {
    pyatspi.ROLE_APPLICATION,
    pyatspi.ROLE_FILLER,
    pyatspi.ROLE_PANEL,
    pyatspi.ROLE_SCROLL_BAR,
    pyatspi.ROLE_SCROLL_PANE,
}

failures = []
events = []


def log(text):
    print(time.strftime("[%H:%M:%S]"), text, flush=True)


def check(what, ok):
    log(("ok: " if ok else "FAIL: ") + what)
    if not ok:
        failures.append(what)
    return ok


def pump(seconds):
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def wait_for(predicate, seconds=10):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            value = predicate()
        except Exception:  # an object that went away while it was read
            value = None
        if value:
            return value
        pump(0.1)
    return None


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def children(node):
    return [child for child in node if child is not None]


def describe(node):
    return f"{node.getRoleName()} {node.name!r} ({node.description!r})"


def unnamed_controls(node):
    """The showing controls under node (node included) that have no name."""
    found = []
    if not showing(node):
        return found
    if node.getRole() not in UNNAMED_ROLES and not node.name.strip():
        found.append(describe(node))
    for child in children(node):
        found.extend(unnamed_controls(child))
    return found


def find(node, role, name=None):
    """The first object under node with the role (and the name, when given)."""
    for child in children(node):
        if child.getRole() == role and (name is None or child.name == name):
            return child
        deeper = find(child, role, name)
        if deeper is not None:
            return deeper
    return None


def application():
    for app in children(pyatspi.Registry.getDesktop(0)):
        if app.name == "vellumstack":
            return app
    return None


def client_area(frame):
    """The filler that holds the window's controls: the one with the search button."""
    button = find(frame, pyatspi.ROLE_PUSH_BUTTON, "Search")
    return button.parent if button is not None else None


def seen(area):
    return [(child.getRoleName(), child.name) for child in children(area)]


def report(area, title):
    log(title)
    for child in children(area):
        print("   ", describe(child), flush=True)


def check_area(area, expected, title):
    report(area, title)
    got = wait_for(lambda: seen(area) == expected and seen(area), 5) or seen(area)
    check(f"{title}: the controls seen are {expected}", got == expected)
    unnamed = unnamed_controls(area.parent.parent)
    check(f"{title}: every control on the screen is named {unnamed or ''}", not unnamed)


def look_up(area, text):
    """Types text into the search box over the bus and presses Search."""
    box = area[1]
    box.queryEditableText().setTextContents(text)
    search = find(area, pyatspi.ROLE_PUSH_BUTTON, "Search")
    action = search.queryAction()
    action.doAction(0)


def definition_shown(area, prefix):
    box = area[0]
    return box.name.startswith(prefix) and box.queryText().characterCount > 0 and box


def on_event(event):
    try:
        events.append((event.type, event.source.getRoleName(), event.source.name, event.any_data))
    except Exception:
        pass


def press(name):
    """Presses the program's menu item of that name and waits for the call to end."""
    app = wait_for(application, 5)
    item = app and find(app, pyatspi.ROLE_MENU_ITEM, name)
    if item:
        item.queryAction().doAction(0)
    return 0


def main():
    if sys.argv[1] == "--press":
        return press(sys.argv[2])
    word, idiom = sys.argv[1], sys.argv[2]
    app = wait_for(application, 15)
    if not check("the program is on the accessibility bus", app is not None):
        return 1
    frame = wait_for(lambda: find(app, pyatspi.ROLE_FRAME, "Vellumstack"))
    area = wait_for(lambda: frame is not None and client_area(frame))
    if not check("the main window and its controls are read", bool(area)):
        return 1

    heading = ("label", "Definitions for:")
    check_area(area, [("text", "Definitions"), ("text", "Word to look up"),
                      ("push button", "Search"), ("list", "Words"), heading],
               "words mode at start")

    pyatspi.Registry.registerEventListener(on_event, "object:text-changed",
                                           "object:property-change:accessible-name")
    pump(0.3)
    look_up(area, word)
    box = wait_for(lambda: definition_shown(area, "Definitions for: "))
    if check(f"the definition of {word!r} is shown and named after it", bool(box)):
        text = box.queryText().getText(0, -1)
        log(f"definition box: {box.name!r}: {text[:60]!r}")
        check("the definition box is read-only", not box.getState().contains(pyatspi.STATE_EDITABLE))
        check("a text-changed event announces the definition",
              wait_for(lambda: any(e[0].startswith("object:text-changed:insert") and
                                   e[1] == "text" and e[3] == text for e in events), 3))
        check("a name-changed event announces the entry",
              any(e[0].startswith("object:property-change:accessible-name") and
                  e[2] == box.name for e in events))
    check("the focus is back in the search box",
          wait_for(lambda: area[1].getState().contains(pyatspi.STATE_FOCUSED), 3))
    entry = box.name[len("Definitions for: "):] if box else ""
    check_area(area, [(("text", f"Definitions for: {entry}")), ("text", "Word to look up"),
                      ("push button", "Search"), ("list", "Words"), heading, ("label", entry)],
               "words mode after a lookup")
    for event in events:
        log(f"event {event[0]} from {event[1]} {event[2]!r}")

    # Idioms mode, through the Search menu; the question is answered No over the bus. The
    # menu item's action returns only once the question is answered: a second client
    # presses it.
    presser = subprocess.Popen([sys.executable, __file__, "--press", "Idioms and Expressions"],
                               stderr=subprocess.DEVNULL)
    question = wait_for(lambda: find(app, pyatspi.ROLE_PUSH_BUTTON, "No"))
    if check("the question of idioms mode is read", bool(question)):
        dialog = question
        while dialog.getRole() not in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME,
                                       pyatspi.ROLE_ALERT):
            dialog = dialog.parent
        log(f"question: {describe(dialog)}")
        for node in children(dialog):
            print("   ", describe(node), flush=True)
        check("every control of the question is named", not unnamed_controls(dialog))
        question.queryAction().doAction(0)
    check_area(area, [("text", "Definitions"), ("text", "Idiom or expression to look up"),
                      ("push button", "Search"), ("list", "Idioms and expressions")],
               "idioms mode")
    look_up(area, idiom)
    box = wait_for(lambda: definition_shown(area, f"Definitions for: {idiom}"))
    check(f"the definition of {idiom!r} is shown and named after it", bool(box))
    if box:
        report(area, "idioms mode after a lookup")

    presser.kill()
    presser.wait()
    print(f"{len(failures)} check(s) failed" if failures else "all checks passed", flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
