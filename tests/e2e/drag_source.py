#!/usr/bin/python3
"""A drag source written with another toolkit than Qt (GTK 3): a small window
titled TITLE that offers the given files as text/uri-list, byte for byte,
when the pointer drags from it. What happens is printed, one line each:

    ready              the window is shown
    begin              a drag has started
    action <name>      the target under the pointer now takes it (copy, move...)
    end <name>         the drag is over, with the action the target performed
    failed <result>    the target refused the drop, or the drag was cancelled

Usage: drag_source.py TITLE FILE...
"""

import os
import sys
import urllib.parse

# GTK reads the command line as text, which these file names need not be.
TITLE, PATHS = sys.argv[1], sys.argv[2:]
sys.argv = sys.argv[:1]

import gi  # noqa: E402

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402


def say(line):
    print(line, flush=True)


def uri_list(paths):
    # Percent-escaped from the names' bytes, so that any name survives.
    return b"".join(
        b"file://"
        + urllib.parse.quote_from_bytes(os.fsencode(os.path.abspath(path)), safe=b"/").encode()
        + b"\r\n"
        for path in paths)


def action_name(action):
    return action.value_nicks[0] if action else "none"


def main():
    data = uri_list(PATHS)
    window = Gtk.Window(title=TITLE)
    window.set_default_size(160, 120)
    window.connect("destroy", Gtk.main_quit)
    area = Gtk.EventBox()
    area.add(Gtk.Label(label="drag me"))
    window.add(area)
    area.drag_source_set(Gdk.ModifierType.BUTTON1_MASK,
                         [Gtk.TargetEntry.new("text/uri-list", 0, 0)],
                         Gdk.DragAction.COPY | Gdk.DragAction.MOVE)

    def data_get(_widget, _context, selection, _info, _time):
        selection.set(selection.get_target(), 8, data)

    # The target's answers come as the context's selected action; GTK tells
    # no event of its own for them, so they are looked at while dragging.
    dragging = [False]

    def begin(_widget, context):
        say("begin")
        dragging[0] = True
        seen = [None]

        def watch():
            action = context.get_selected_action()
            if action != seen[0]:
                seen[0] = action
                if action:
                    say("action " + action_name(action))
            return dragging[0]

        GLib.timeout_add(20, watch)

    def end(_widget, context):
        dragging[0] = False
        say("end " + action_name(context.get_selected_action()))

    area.connect("drag-data-get", data_get)
    area.connect("drag-begin", begin)
    area.connect("drag-failed", lambda _w, _c, result: say("failed " + result.value_nick) or False)
    area.connect("drag-end", end)
    window.connect("map-event", lambda *_: say("ready"))
    window.show_all()
    Gtk.main()


if __name__ == "__main__":
    main()
