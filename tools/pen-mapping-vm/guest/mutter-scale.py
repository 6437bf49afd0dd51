#!/usr/bin/env python3
# Lays the monitors out side by side through Mutter's DisplayConfig (1920x1080 where offered,
# logical layout mode), the second at the scale given (default 2) when that scale is offered.
import sys
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
def call(method, args, sig):
    return bus.call_sync("org.gnome.Mutter.DisplayConfig", "/org/gnome/Mutter/DisplayConfig",
                         "org.gnome.Mutter.DisplayConfig", method, args, GLib.VariantType(sig) if sig else None,
                         Gio.DBusCallFlags.NONE, -1, None)
serial, monitors, logical, props = call("GetCurrentState", None, "(ua((ssss)a(siiddada{sv})a{sv})a(iiduba(ssss)a{sv})a{sv})").unpack()
print("layout-mode", props.get("layout-mode"), "supports-changing-layout-mode", props.get("supports-changing-layout-mode"))
for m in monitors:
    cur = [md for md in m[1] if md[6].get("is-current")]
    print("monitor", m[0], "modes", len(m[1]), "current", cur[0][:6] if cur else None)
want = float(sys.argv[1]) if len(sys.argv) > 1 else 2.0
logical_layout = props.get("supports-changing-layout-mode") or props.get("layout-mode") == 1
conf, x = [], 0
for i, m in enumerate(monitors):
    cur = [md for md in m[1] if md[1] == 1920 and md[2] == 1080] or [md for md in m[1] if md[6].get("is-current")] or [m[1][0]]
    md = cur[0]
    scale = want if i == 1 else 1.0
    if i == 1 and scale not in md[5]:
        print("scale", scale, "not offered; offered:", md[5])
        scale = 1.0
    conf.append((x, 0, scale, 0, i == 0, [(m[0][0], md[0], {})]))
    x += int(md[1] / scale) if logical_layout else md[1]
p = {}
if props.get("supports-changing-layout-mode"):
    p["layout-mode"] = GLib.Variant("u", 1)
try:
    call("ApplyMonitorsConfig", GLib.Variant("(uua(iiduba(ssa{sv}))a{sv})", (serial, 1, conf, p)), None)
    print("applied", conf, p)
except Exception as e:
    print("apply failed:", e)
serial, monitors, logical, props = call("GetCurrentState", None, "(ua((ssss)a(siiddada{sv})a{sv})a(iiduba(ssss)a{sv})a{sv})").unpack()
print("now layout-mode", props.get("layout-mode"))
for l in logical:
    print("logical", l[:5], [c[0] for c in l[5]])
