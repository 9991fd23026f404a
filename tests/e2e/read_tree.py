#!/usr/bin/python3
"""Prints what a running player shows, as its accessibility tree (AT-SPI)
reads, one tab-separated line each:

    name    <the media name on the controls overlay>
    rows    <the number of rows of the playlist table>
    <role>  <name, or description when it has none>    <x y width height>

the last for each button, text field and label shown (screen coordinates).

Usage: read_tree.py PID
Exits 1, printing nothing, while the tree does not show the first two yet.
"""

import sys

import pyatspi

ROLES = (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_LABEL)


def walk(node, depth=0):
    try:
        role = node.getRole()
        # A table's cells and the menus are many calls over the bus and tell nothing here.
        leaf = depth > 14 or role in (pyatspi.ROLE_TABLE, pyatspi.ROLE_MENU_BAR)
        kids = [] if leaf else [node.getChildAtIndex(i) for i in range(node.childCount)]
    except Exception:  # the application may be changing mid-walk
        return
    yield node, role
    for kid in kids:
        if kid is not None:
            yield from walk(kid, depth + 1)


def main():
    pid = int(sys.argv[1])
    desktop = pyatspi.Registry.getDesktop(0)
    apps = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
    name = rows = None
    lines = []
    for app in apps:
        try:
            if app is None or app.get_process_id() != pid:
                continue
        except Exception:
            continue
        for node, role in walk(app):
            try:
                if role == pyatspi.ROLE_LABEL and node.description == "Media playing":
                    name = node.name
                elif role == pyatspi.ROLE_TABLE:
                    rows = node.queryTable().nRows
                elif role in ROLES and node.getState().contains(pyatspi.STATE_SHOWING):
                    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                    lines.append(f"{node.getRoleName()}\t{node.name or node.description}\t"
                                 f"{box.x} {box.y} {box.width} {box.height}")
            except Exception:
                continue
    if name is None or rows is None:
        return 1
    print(f"name\t{name}\nrows\t{rows}")
    print("\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main())
