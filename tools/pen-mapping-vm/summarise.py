#!/usr/bin/env python3
# Per visited point of the pen: each distinct window (= monitor) and surface-local position its
# motion reached, in order, until the pen moved on; the last one is where it settled.
import re, sys
for path in sys.argv[1:]:
    mons, steps, cur = [], [], None
    for l in open(path):
        m = re.search(r'OBS monitor (\d) .*geometry=(\S+) (\S+) scale=(\d)', l)
        if m: mons.append("m%s@%s %s x%s" % m.groups())
        m = re.search(r'PEN goto frac=(\S+) ', l)
        if m: cur = [m.group(1), []]; steps.append(cur); continue
        m = re.search(r'motion win=(\d) .*src=(\w+).*local=(\S+)', l)
        if m and cur: cur[1].append("w%s %s %s" % m.groups())
    print(path, "monitors:", "; ".join(mons))
    for frac, ev in steps:
        seen = []
        for e in ev:
            if e not in seen: seen.append(e)
        print("   pen %s -> %s" % (frac, " then ".join(seen) if seen else "(no motion)"))
