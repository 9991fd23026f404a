#!/usr/bin/python3
"""A drag source of another toolkit than Qt (GTK 3): a window titled "Drag
source" that offers the given files as text/uri-list, byte for byte, when the
pointer drags from it. It prints what happens, one line each: "ready" once
shown, "begin" as a drag starts, "action <name>" when the target under the
pointer takes it, "end <name>" with the action the target performed.

Usage: drag_source.py FILE...
"""

import os
import sys
import urllib.parse

# GTK reads the command line as text, which these file names need not be.
PATHS, sys.argv = sys.argv[1:], sys.argv[:1]

import gi  # noqa: E402

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

# Percent-escaped from the names' bytes, so that any name survives.
DATA = b"".join(b"file://" + urllib.parse.quote_from_bytes(
    os.fsencode(os.path.abspath(path)), safe=b"/").encode() + b"\r\n" for path in PATHS)


def say(line):
    print(line, flush=True)


def action_name(context):
    action = context.get_selected_action()
    return action.value_nicks[0] if action else "none"


def begin(_widget, context):
    say("begin")
    # GTK tells no event of its own for the target's answers: they are looked
    # at while dragging, as the context's selected action.
    seen = ["none"]

    def watch():
        if action_name(context) != seen[0]:
            seen[0] = action_name(context)
            say("action " + seen[0])
        return not ended

    GLib.timeout_add(20, watch)


ended = False
window = Gtk.Window(title="Drag source")
window.set_default_size(160, 120)
area = Gtk.EventBox()
area.add(Gtk.Label(label="drag me"))
window.add(area)
area.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [Gtk.TargetEntry.new("text/uri-list", 0, 0)],
                     Gdk.DragAction.COPY | Gdk.DragAction.MOVE)
area.connect("drag-data-get", lambda _w, _c, selection, _i, _t: selection.set(selection.get_target(), 8, DATA))
area.connect("drag-begin", begin)
area.connect("drag-end", lambda _w, context: globals().update(ended=True) or say("end " + action_name(context)))
window.connect("map-event", lambda *_: say("ready"))
window.connect("destroy", Gtk.main_quit)
window.show_all()
Gtk.main()
