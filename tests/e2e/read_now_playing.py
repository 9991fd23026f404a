#!/usr/bin/python3
"""Prints what the player shows, as its accessibility tree (AT-SPI) reads,
one tab-separated line each:

    name    <the media name of the controls overlay>
    rows    <the number of rows of the playlist table>

With --layout, also where things are, to be clicked (screen coordinates,
"x y width height"):

    row       <index>    <the row's text: name, details, folder>    <x y w h>
    selected  <index of the selected row, -1 for none>
    control   <name, or description when it has none>    <x y w h>
    label     <text>

"control" and "label" lines are of the buttons, text fields and labels that
are shown.

Usage: read_now_playing.py PID [--layout]
Exits 1, printing nothing, while the tree does not show both yet.
"""

import sys

import pyatspi

CONTROL_ROLES = (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)


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
    # The menus tell nothing either, and each node is a call over the bus.
    try:
        if node.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_MENU_BAR):
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


def extents(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return f"{box.x} {box.y} {box.width} {box.height}"


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def table_layout(table):
    # Cell by cell, so only when asked for: each is a call over the bus.
    lines = []
    for row in range(table.nRows):
        cell = table.getAccessibleAt(row, 0)
        lines.append(f"row\t{row}\t{cell.name}\t{extents(cell)}")
    selected = table.getSelectedRows()
    lines.append(f"selected\t{selected[0] if selected else -1}")
    return lines


def main():
    app = application_of(int(sys.argv[1]))
    layout = "--layout" in sys.argv[2:]
    name = rows = None
    lines = []
    for node in walk(app):
        try:
            role = node.getRole()
            if role == pyatspi.ROLE_LABEL and node.description == "Media playing":
                name = node.name
            elif role == pyatspi.ROLE_TABLE:
                table = node.queryTable()
                rows = table.nRows
                if layout:
                    lines += table_layout(table)
            elif layout and role in CONTROL_ROLES and showing(node):
                lines.append(f"control\t{node.name or node.description}\t{extents(node)}")
            elif layout and role == pyatspi.ROLE_LABEL and showing(node):
                lines.append(f"label\t{node.name}")
        except Exception:
            continue
    if name is None or rows is None:
        return 1
    print(f"name\t{name}")
    print(f"rows\t{rows}")
    for line in lines:
        print(line)
    return 0


if __name__ == "__main__":
    sys.exit(main())
