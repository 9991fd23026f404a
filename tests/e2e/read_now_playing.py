#!/usr/bin/python3
"""Prints what the player shows, as its accessibility tree (AT-SPI) reads,
one tab-separated line each:

    name    <the media name of the controls overlay>
    rows    <the number of rows of the playlist table>

Usage: read_now_playing.py PID
Exits 1, printing nothing, while the tree does not show both yet.
"""

import sys

import pyatspi


def children(node):
    try:
        return [node.getChildAtIndex(i) for i in range(node.childCount)]
    except Exception:  # the application may be changing mid-walk
        return []


def walk(node, depth=0):
    if node is None or depth > 14:
        return
    yield node
    # A table's cells are many and tell nothing here: its row count does.
    try:
        if node.getRole() == pyatspi.ROLE_TABLE:
            return
    except Exception:
        return
    for child in children(node):
        yield from walk(child, depth + 1)


def application_of(pid):
    for app in children(pyatspi.Registry.getDesktop(0)):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def main():
    app = application_of(int(sys.argv[1]))
    name = rows = None
    for node in walk(app):
        try:
            role = node.getRole()
            if role == pyatspi.ROLE_LABEL and node.description == "Media playing":
                name = node.name
            elif role == pyatspi.ROLE_TABLE:
                rows = node.queryTable().nRows
        except Exception:
            continue
    if name is None or rows is None:
        return 1
    print(f"name\t{name}")
    print(f"rows\t{rows}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
