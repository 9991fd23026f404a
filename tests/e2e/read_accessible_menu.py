#!/usr/bin/python3
"""Prints the first menu of an application's menu bar as its accessibility tree
(AT-SPI) shows it, one line per entry, tab-separated:

    menu    <title>
    item    <name>    enabled|disabled    <key binding or ->

Usage: read_accessible_menu.py PID WINDOW_TITLE EXPECTED_MENU_TITLE TIMEOUT_S

The menu title is retitled after the window shows, so the tree is read again
until the first menu carries the expected title or the time-out passes; then
whatever was last seen is printed, and the caller judges it.
"""

import sys
import time

import pyatspi


def children(node):
    try:
        return [node.getChildAtIndex(i) for i in range(node.childCount)]
    except Exception:  # the application may be going away mid-walk
        return []


def find(node, roles, depth=0):
    if node is None or depth > 12:
        return None
    try:
        if node.getRole() in roles:
            return node
    except Exception:
        return None
    for child in children(node):
        found = find(child, roles, depth + 1)
        if found is not None:
            return found
    return None


def application_of(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in children(desktop):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def frame_titled(app, title):
    for child in children(app):
        try:
            if child.getRole() == pyatspi.ROLE_FRAME and child.name == title:
                return child
        except Exception:
            continue
    return None


def key_binding(item):
    try:
        action = item.queryAction()
    except NotImplementedError:
        return "-"
    for i in range(action.nActions):
        binding = action.getKeyBinding(i)
        if binding:
            return binding
    return "-"


def read_first_menu(pid, window_title):
    app = application_of(pid)
    if app is None:
        return None
    frame = frame_titled(app, window_title)
    if frame is None:
        return None
    menu_bar = find(frame, (pyatspi.ROLE_MENU_BAR,))
    if menu_bar is None or menu_bar.childCount == 0:
        return None
    first = menu_bar.getChildAtIndex(0)
    popup = find(first, (pyatspi.ROLE_POPUP_MENU, pyatspi.ROLE_MENU)) if first.childCount else None
    items = []
    for item in children(popup) if popup is not None else []:
        if item.getRole() == pyatspi.ROLE_SEPARATOR:
            continue
        enabled = item.getState().contains(pyatspi.STATE_ENABLED)
        items.append((item.name, "enabled" if enabled else "disabled", key_binding(item)))
    return first.name, items


def main():
    pid, window_title, expected, timeout_s = (
        int(sys.argv[1]), sys.argv[2], sys.argv[3], float(sys.argv[4]))
    deadline = time.monotonic() + timeout_s
    seen = None
    while True:
        try:
            seen = read_first_menu(pid, window_title) or seen
        except Exception as error:  # a half-built tree: read it again
            print(f"# read failed: {error}", file=sys.stderr)
        if seen is not None and seen[0] == expected and seen[1]:
            break
        if time.monotonic() >= deadline:
            break
        time.sleep(0.1)
    if seen is None:
        print(f"# no accessible menu bar for pid {pid} within {timeout_s}s", file=sys.stderr)
        return 1
    title, items = seen
    print(f"menu\t{title}")
    for name, state, binding in items:
        print(f"item\t{name}\t{state}\t{binding}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
