#!/usr/bin/env python3
# One fullscreen window per monitor; logs every pointer/pen motion with the
# monitor's logical geometry and the surface-local position GTK reports.
import os, sys, time
import gi
gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import Gtk, Gdk, GLib

log = open(sys.argv[1], "a", buffering=1)

def out(msg):
    log.write("%.3f OBS %s\n" % (time.monotonic(), msg))

display = Gdk.Display.get_default()
if display is None:
    rt = os.environ.get("XDG_RUNTIME_DIR", "")
    out("no display: WAYLAND_DISPLAY=%s runtime=%s" % (os.environ.get("WAYLAND_DISPLAY"), os.listdir(rt) if rt else None))
    sys.exit(1)
screen = Gdk.Screen.get_default()
out("display %s monitors %d" % (display.get_name(), display.get_n_monitors()))
windows = []
for i in range(display.get_n_monitors()):
    m = display.get_monitor(i)
    g = m.get_geometry()
    out("monitor %d model=%s geometry=%d,%d %dx%d scale=%d" % (i, m.get_model(), g.x, g.y, g.width, g.height, m.get_scale_factor()))
    w = Gtk.Window(title="observe-%d" % i)
    w.add_events(Gdk.EventMask.POINTER_MOTION_MASK | Gdk.EventMask.PROXIMITY_IN_MASK |
                 Gdk.EventMask.PROXIMITY_OUT_MASK | Gdk.EventMask.BUTTON_PRESS_MASK)
    def motion(widget, ev, idx=i):
        dev = ev.get_source_device()
        src = dev.get_source().value_nick if dev else "?"
        name = dev.get_name() if dev else "?"
        win = widget.get_window()
        mon = display.get_monitor_at_window(win)
        mg = mon.get_geometry()
        out("motion win=%d on_monitor_at=%d,%d src=%s dev=%r local=%.1f,%.1f" % (idx, mg.x, mg.y, src, name, ev.x, ev.y))
        return False
    w.connect("motion-notify-event", motion)
    w.connect("proximity-in-event", lambda wd, ev, idx=i: (out("proximity-in win=%d" % idx), False)[1])
    w.connect("proximity-out-event", lambda wd, ev, idx=i: (out("proximity-out win=%d" % idx), False)[1])
    w.show_all()
    w.fullscreen_on_monitor(screen, i)
    windows.append(w)

def report():
    for i, w in enumerate(windows):
        gw = w.get_window()
        mon = display.get_monitor_at_window(gw)
        mg = mon.get_geometry()
        out("window %d size=%dx%d on monitor at %d,%d" % (i, w.get_allocated_width(), w.get_allocated_height(), mg.x, mg.y))
    return False
GLib.timeout_add(1500, report)
Gtk.main()
