#!/usr/bin/env python3
"""The agent's CPU at 1000 reports a second, beside two floors, in the same run.

usage: run.py BUILD_DIR [--runs 3] [--seconds 20]

The real NuvroAgent runs on the project's stand-in libusb (LD_LIBRARY_PATH) with its uinput
frames going to a FIFO (a preload). A feeder sends every report to it and to two floors: the
one-wake-up loop (poll, recv, write), and the smallest consumer through libusb (waiting in
libusb's own event handling on the same stand-in, writing a frame from the transfer's
callback), which shows what the library itself makes a report cost. CPU is the time on a core
of all the threads of each, from /proc/PID/task/*/schedstat (nanoseconds), over the window;
the ratios to the agent are also taken second by second, and their median is less moved by
what else the machine runs. All three time their arrival-to-write latency the same way, so
the agent's has the machine's beside it. Then perf counts the system calls of each for a few
seconds on the kernel's syscall tracepoints (strace would stop the agent at every call, so
reports would queue and share wake-ups, which hides the cost). Medians of the runs are
printed last.
"""
import argparse
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

WARMUP = 2.0
COUNT_SECONDS = 5.0
NAMED_CALLS = ("poll", "ppoll", "epoll_wait", "recvfrom", "read", "write", "ioctl")
RATE = 1000.0


def cpu_ns(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except FileNotFoundError:
            pass  # a thread that ended meanwhile
    return total


def rss_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        return int(re.search(r"VmRSS:\s+(\d+)", f.read()).group(1)) / 1024


def count_calls(pid):
    events = ["raw_syscalls:sys_enter"] + [f"syscalls:sys_enter_{n}" for n in NAMED_CALLS]
    perf = subprocess.Popen(["perf", "stat", "-x,", "-e", ",".join(events), "-p", str(pid), "--",
                             "sleep", str(COUNT_SECONDS)], stderr=subprocess.PIPE, stdout=subprocess.DEVNULL, text=True)
    return perf


def parse_calls(perf):
    calls = {}
    for line in perf.communicate()[1].splitlines():
        cols = line.split(",")
        if len(cols) > 2 and cols[0].isdigit():
            name = cols[2].split(":")[1].replace("sys_enter_", "")
            calls["all" if name == "sys_enter" else name] = int(cols[0])
    return calls


LATENCIES = ("p50", "p99", "call_p50", "call_p99")


def latency_us(text):
    found = dict(re.findall(r"(\w+)_us=([\d.]+)", text))
    return {k: float(found.get(k, "nan")) for k in LATENCIES}


def wait_for(path, proc, seconds):
    deadline = time.monotonic() + seconds
    while not os.path.exists(path):
        if proc.poll() is not None or time.monotonic() > deadline:
            return False
        time.sleep(0.05)
    return True


CONSUMERS = ("agent", "floor", "usb")


def on_cpus(cpus):
    return lambda: os.sched_setaffinity(0, cpus)


# The consumers share one core and the feeder and reader another, so that every wake-up of
# each crosses between cores the same way (where a process lands otherwise changes its cost
# by more than the differences measured).
CPUS = sorted(os.sched_getaffinity(0))
CONSUMER_CPUS = {CPUS[-1]}
DRIVER_CPUS = set(CPUS[:-1]) or CONSUMER_CPUS


def one_run(build, seconds, tmp, agent_env):
    rig_dir = os.path.join(build, "bench", "agent-cpu")
    rig = os.path.join(rig_dir, "nv-agent-cpu-rig")
    paths = {f"{c}.{k}": os.path.join(tmp, f"{c}.{k}") for c in CONSUMERS for k in ("sock", "fifo", "latency")}
    for c in CONSUMERS:
        os.mkfifo(paths[f"{c}.fifo"])
    env = dict(os.environ,
               LD_LIBRARY_PATH=os.path.join(rig_dir, "lib"),
               LD_PRELOAD=os.path.join(rig_dir, "libnv_uinput_pipe.so"),
               NV_STANDIN_SOCKET=paths["agent.sock"], NV_UINPUT_FIFO=paths["agent.fifo"],
               NV_LATENCY_OUT=paths["agent.latency"], QT_QPA_PLATFORM="offscreen",
               XDG_CONFIG_HOME=os.path.join(tmp, "config"))
    env.update(agent_env)
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    reader = subprocess.Popen([rig, "read"] + [paths[f"{c}.fifo"] for c in CONSUMERS],
                              stdout=subprocess.PIPE, text=True, preexec_fn=on_cpus(DRIVER_CPUS))
    pin = on_cpus(CONSUMER_CPUS)
    procs = {
        "floor": subprocess.Popen([rig, "floor", paths["floor.sock"], paths["floor.fifo"], paths["floor.latency"]],
                                  preexec_fn=pin),
        "usb": subprocess.Popen([os.path.join(rig_dir, "nv-agent-cpu-libusb-floor"), paths["usb.fifo"],
                                 paths["usb.latency"]], env=dict(os.environ, NV_STANDIN_SOCKET=paths["usb.sock"]),
                                preexec_fn=pin),
        "agent": subprocess.Popen([os.path.join(build, "bin", "NuvroAgent")], env=env,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, preexec_fn=pin),
    }
    agent = procs["agent"]
    try:
        for c in ("agent", "floor", "usb"):
            if not wait_for(paths[f"{c}.sock"], procs[c], 15):
                out = agent.stdout.read() if c == "agent" and agent.poll() is not None else ""
                raise RuntimeError(f"{c} did not open the stand-in tablet " + out.strip())
        idle0 = cpu_ns(agent.pid)
        time.sleep(1.0)
        idle = cpu_ns(agent.pid) - idle0
        total = WARMUP + seconds + COUNT_SECONDS + 1.0
        feeder = subprocess.Popen([rig, "feed", str(total)] + [paths[f"{c}.sock"] for c in CONSUMERS],
                                  stdout=subprocess.PIPE, text=True, preexec_fn=on_cpus(DRIVER_CPUS))
        time.sleep(WARMUP)

        def sample():
            return [time.monotonic()] + [cpu_ns(procs[c].pid) for c in CONSUMERS]

        samples = [sample()]
        while samples[-1][0] - samples[0][0] < seconds:
            time.sleep(1.0)
            samples.append(sample())
        rss = rss_mib(agent.pid)
        counters = {c: count_calls(procs[c].pid) for c in CONSUMERS}
        traced = {c: parse_calls(counters[c]) for c in CONSUMERS}
        sent = int(feeder.communicate()[0].split("=")[1])
    finally:
        for p in procs.values():
            if p.poll() is None:
                p.terminate()
        for p in procs.values():
            p.wait(10)
        reader.terminate()
    frames = dict(re.findall(r"(\S+) frames=(\d+)", reader.communicate()[0]))
    wall = samples[-1][0] - samples[0][0]
    reports = COUNT_SECONDS * RATE
    r = {"idle_cpu": idle / 1e9 * 100, "rss_mib": rss, "sent": sent,
         "agent_breakdown": {k: round(v / reports, 2) for k, v in traced["agent"].items() if k != "all" and v}}
    for i, c in enumerate(CONSUMERS, start=1):
        r[f"{c}_cpu"] = (samples[-1][i] - samples[0][i]) / 1e9 / wall * 100
        r[f"{c}_calls"] = traced[c].get("all", 0) / reports
        r[f"{c}_frames"] = int(frames.get(paths[f"{c}.fifo"], 0))
        lat = open(paths[f"{c}.latency"]).read().strip() if os.path.exists(paths[f"{c}.latency"]) else ""
        r.update({f"{c}_{k}": v for k, v in latency_us(lat).items()})
        if c != "agent":
            r[f"ratio_{c}"] = r["agent_cpu"] / r[f"{c}_cpu"] if r[f"{c}_cpu"] > 0 else float("inf")
            seconds_ratios = [(a[1] - b[1]) / (a[i] - b[i]) for b, a in zip(samples, samples[1:]) if a[i] > b[i]]
            r[f"ratio_{c}_s"] = statistics.median(seconds_ratios) if seconds_ratios else float("inf")
    return r


def latencies(r):
    def one(c, to):
        return f"{r[f'{c}_{to}p50']:.1f}/{r[f'{c}_{to}p99']:.1f}"
    return ("latency p50/p99 us to the write call (and to its return): "
            + ", ".join(f"{name} {one(c, 'call_')} ({one(c, '')})"
                        for c, name in (("agent", "agent"), ("floor", "floor"), ("usb", "libusb floor"))))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--seconds", type=float, default=20.0)
    ap.add_argument("--agent-env", action="append", default=[], metavar="NAME=VALUE",
                    help="an environment variable for the agent, to compare variants")
    args = ap.parse_args()
    build = os.path.abspath(args.build)
    print(f"load average before: {' '.join(f'{x:.2f}' for x in os.getloadavg())}, {os.cpu_count()} cores")
    results = []
    for i in range(args.runs):
        with tempfile.TemporaryDirectory(prefix="nv-agent-cpu-") as tmp:
            r = one_run(build, args.seconds, tmp, dict(e.split("=", 1) for e in args.agent_env))
        results.append(r)
        print(f"run {i + 1}: CPU agent {r['agent_cpu']:.2f} %, floor {r['floor_cpu']:.2f} %, libusb floor "
              f"{r['usb_cpu']:.2f} %; ratio to the floor {r['ratio_floor']:.2f} (second by second "
              f"{r['ratio_floor_s']:.2f}), to the libusb floor {r['ratio_usb']:.2f} ({r['ratio_usb_s']:.2f}); "
              f"system calls a report: agent {r['agent_calls']:.2f} {r['agent_breakdown']}, floor "
              f"{r['floor_calls']:.2f}, libusb floor {r['usb_calls']:.2f}; {latencies(r)}; idle {r['idle_cpu']:.1f} %; "
              f"RSS {r['rss_mib']:.0f} MiB; reports {r['sent']}, frames agent {r['agent_frames']} floor "
              f"{r['floor_frames']} libusb floor {r['usb_frames']}", flush=True)
    med = {k: statistics.median(r[k] for r in results) for k in results[0] if k != "agent_breakdown"}
    print(f"median of {len(results)}: agent {med['agent_cpu']:.2f} % of a core, floor {med['floor_cpu']:.2f} %, "
          f"ratio {med['ratio_floor']:.2f} (second by second {med['ratio_floor_s']:.2f}); libusb floor "
          f"{med['usb_cpu']:.2f} %, ratio {med['ratio_usb']:.2f} ({med['ratio_usb_s']:.2f}); system calls a report: "
          f"agent {med['agent_calls']:.2f}, floor {med['floor_calls']:.2f}, libusb floor {med['usb_calls']:.2f}; "
          f"{latencies(med)}")
    print(f"load average after: {' '.join(f'{x:.2f}' for x in os.getloadavg())}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
