#!/usr/bin/python3
"""What a screen reader (Orca) finds in a program's windows over AT-SPI: every control a person
can operate (it takes the focus or offers an action) must have a name. Prints a table of them and
exits 1 when one has no name, or when a name that must be there is missing.

    accessible_names.py APPLICATION_NAME SECONDS [REQUIRED_NAME...]
"""
import sys
import time

import pyatspi

# Containers and texts: not controls a person operates.
PASSIVE = {pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_WINDOW, pyatspi.ROLE_PANEL,
           pyatspi.ROLE_FILLER, pyatspi.ROLE_LABEL, pyatspi.ROLE_APPLICATION,
           pyatspi.ROLE_STATIC}


def find_application(name, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            # Both windows are there once the second one has children.
            if app is not None and app.name == name and app.childCount >= 2 and all(
                    window.childCount > 0 for window in app):
                return app
        time.sleep(0.3)
    return None


def operable(accessible):
    if accessible.getRole() in PASSIVE:
        return False
    if accessible.getState().contains(pyatspi.STATE_FOCUSABLE):
        return True
    try:
        return accessible.queryAction().nActions > 0
    except NotImplementedError:
        return False


def controls(accessible, window):
    for child in accessible:
        if child is None:
            continue
        if operable(child):
            yield window, child
        yield from controls(child, window)


def main():
    name, seconds, required = sys.argv[1], float(sys.argv[2]), sys.argv[3:]
    app = find_application(name, seconds)
    if app is None:
        print(f"accessible_names: {name} did not show two windows on the accessibility bus")
        return 1
    rows = [(window.name, c.getRoleName(), c.name) for window in app
            for window, c in controls(window, window)]
    print(f"{'window':<14}{'role':<16}name")
    for window, role, label in rows:
        print(f"{window:<14}{role:<16}{label or '(none)'}")
    unnamed = [row for row in rows if not row[2].strip()]
    missing = [n for n in required if n not in {row[2] for row in rows}]
    print(f"{len(rows)} controls, {len(unnamed)} without a name;"
          f" missing: {', '.join(missing) or 'none'}")
    return 1 if unnamed or missing else 0


if __name__ == "__main__":
    sys.exit(main())
