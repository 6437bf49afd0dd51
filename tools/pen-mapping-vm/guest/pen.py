#!/usr/bin/env python3
# Creates a uinput pen like the agent's (ABS 0..2^20-1 at 2000 units/mm,
# pressure, tilt, pen/rubber/touch/stylus keys) with the chosen input
# properties, then visits fixed points of the ABS range with the pen in
# proximity, logging each step to LOG.
# Usage: pen.py LOG direct|pointer|both|none [SECONDS_BEFORE_START [GO_FILE]]
import os, sys, time
import libevdev
from libevdev import InputEvent, EV_ABS, EV_KEY, EV_SYN, INPUT_PROP_DIRECT, INPUT_PROP_POINTER

MAX = (1 << 20) - 1
log = open(sys.argv[1], "a", buffering=1)
variant = sys.argv[2]

def out(msg):
    log.write("%.3f PEN %s\n" % (time.monotonic(), msg))

d = libevdev.Device()
d.name = "Nuvro Tablet Pen"
d.id = {"bustype": 0x06, "vendor": 0x3A7E, "product": 0x7001, "version": 1}
if variant in ("direct", "both"):
    d.enable(INPUT_PROP_DIRECT)
if variant in ("pointer", "both"):
    d.enable(INPUT_PROP_POINTER)
d.enable(EV_ABS.ABS_X, libevdev.InputAbsInfo(minimum=0, maximum=MAX, resolution=2000))
d.enable(EV_ABS.ABS_Y, libevdev.InputAbsInfo(minimum=0, maximum=MAX, resolution=2000))
d.enable(EV_ABS.ABS_PRESSURE, libevdev.InputAbsInfo(minimum=0, maximum=65535, resolution=0))
d.enable(EV_ABS.ABS_TILT_X, libevdev.InputAbsInfo(minimum=-90, maximum=90, resolution=57))
d.enable(EV_ABS.ABS_TILT_Y, libevdev.InputAbsInfo(minimum=-90, maximum=90, resolution=57))
for k in (EV_KEY.BTN_TOOL_PEN, EV_KEY.BTN_TOOL_RUBBER, EV_KEY.BTN_TOUCH, EV_KEY.BTN_STYLUS, EV_KEY.BTN_STYLUS2):
    d.enable(k)
ui = d.create_uinput_device()
out("created %s variant=%s" % (ui.devnode, variant))
time.sleep(float(sys.argv[3]) if len(sys.argv) > 3 else 4)

def frame(x, y, extra=()):
    ui.send_events(list(extra) + [InputEvent(EV_ABS.ABS_X, x), InputEvent(EV_ABS.ABS_Y, y),
                                  InputEvent(EV_SYN.SYN_REPORT, 0)])

points = [(0.5, 0.5), (0, 0), (1, 0), (0, 1), (1, 1), (0.25, 0.25), (0.75, 0.25), (0.75, 0.75), (0.9, 0.1), (0.5, 0.5)]

def visit():
    frame(int(0.5 * MAX), int(0.5 * MAX), [InputEvent(EV_KEY.BTN_TOOL_PEN, 1)])
    time.sleep(0.5)
    for fx, fy in points:
        x, y = round(fx * MAX), round(fy * MAX)
        out("goto frac=%.2f,%.2f abs=%d,%d" % (fx, fy, x, y))
        # The kernel drops repeated values and the tablet stack may smooth over a
        # few events, so settle with a one-unit jitter around the target.
        for i in range(8):
            j = i % 2
            frame(min(x + j, MAX) if x < MAX else x - j, min(y + j, MAX) if y < MAX else y - j)
            time.sleep(0.03)
        frame(x, y)
        time.sleep(1.2)
        out("at frac=%.2f,%.2f" % (fx, fy))
    ui.send_events([InputEvent(EV_KEY.BTN_TOOL_PEN, 0), InputEvent(EV_SYN.SYN_REPORT, 0)])
    time.sleep(0.3)

visit()
# With a go-file named, the same device makes a second pass once that file exists.
if len(sys.argv) > 4:
    out("waiting for %s" % sys.argv[4])
    while not os.path.exists(sys.argv[4]):
        time.sleep(0.2)
    out("second pass")
    visit()
out("done")
