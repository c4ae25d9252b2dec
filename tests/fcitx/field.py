#!/usr/bin/python3
# A GTK text field for the input method tests: prints "shown <window id>" once mapped, "ready <window id>"
# once it has the focus, and the field's text as JSON after every change; "clear" on its input empties it,
# "refocus" takes the focus from the field and gives it back (its input method is told of both).
import json
import sys

import gi

gi.require_version('Gtk', '3.0')
gi.require_version('GdkX11', '3.0')
from gi.repository import GLib, Gtk, GdkX11  # noqa: E402,F401

window = Gtk.Window(title='kivo-input-method-field')
field = Gtk.Entry()
window.add(field)
field.connect('changed', lambda *_: print(json.dumps(field.get_text()), flush=True))


def focused(*_):
    print('ready', window.get_window().get_xid(), flush=True)
    return False


def command(source, _condition):
    line = source.readline()
    if not line:
        Gtk.main_quit()
        return False
    if line.strip() == 'clear':
        field.set_text('')
        print('cleared', flush=True)
    elif line.strip() == 'refocus':
        window.set_focus(None)
        field.grab_focus()
    return True


window.connect('focus-in-event', lambda *_: GLib.idle_add(focused) and False)
window.connect('map-event', lambda *_: print('shown', window.get_window().get_xid(), flush=True) and False)
window.connect('destroy', Gtk.main_quit)
GLib.io_add_watch(sys.stdin, GLib.IO_IN | GLib.IO_HUP, command)
window.show_all()
window.present()
Gtk.main()
