#!/usr/bin/env python3
"""The agent's CPU at 1000 reports a second, beside the one-wake-up floor, in the same run.

usage: run.py BUILD_DIR [--runs 3] [--seconds 20]

The real NuvroAgent runs on the project's stand-in libusb (LD_LIBRARY_PATH) with its uinput
frames going to a FIFO (a preload); a feeder sends every report both to it and to the floor
loop (poll, recv, write). CPU comes from /proc/PID/stat over the window; both time their
arrival-to-write latency the same way, so the agent's has the machine's beside it. Then perf counts the
system calls of both for a few seconds on the kernel's syscall tracepoints (strace would stop
the agent at every call, so reports would queue and share wake-ups, which hides the cost).
Medians of the runs are printed last.
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


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # utime and stime: fields 14 and 15, counted after the command name.
    return int(fields[11]) + int(fields[12])


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


def latency_us(text):
    found = dict(re.findall(r"(p50|p99)_us=([\d.]+)", text))
    return float(found.get("p50", "nan")), float(found.get("p99", "nan"))


def wait_for(path, proc, seconds):
    deadline = time.monotonic() + seconds
    while not os.path.exists(path):
        if proc.poll() is not None or time.monotonic() > deadline:
            return False
        time.sleep(0.05)
    return True


def one_run(build, seconds, tmp, agent_env):
    rig_dir = os.path.join(build, "bench", "agent-cpu")
    rig = os.path.join(rig_dir, "nv-agent-cpu-rig")
    paths = {k: os.path.join(tmp, k) for k in ("agent.sock", "floor.sock", "agent.fifo", "floor.fifo", "latency", "floor.latency")}
    for k in ("agent.fifo", "floor.fifo"):
        os.mkfifo(paths[k])
    env = dict(os.environ,
               LD_LIBRARY_PATH=os.path.join(rig_dir, "lib"),
               LD_PRELOAD=os.path.join(rig_dir, "libnv_uinput_pipe.so"),
               NV_STANDIN_SOCKET=paths["agent.sock"], NV_UINPUT_FIFO=paths["agent.fifo"],
               NV_LATENCY_OUT=paths["latency"], QT_QPA_PLATFORM="offscreen",
               XDG_CONFIG_HOME=os.path.join(tmp, "config"))
    env.update(agent_env)
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    reader = subprocess.Popen([rig, "read", paths["agent.fifo"], paths["floor.fifo"]],
                              stdout=subprocess.PIPE, text=True)
    floor = subprocess.Popen([rig, "floor", paths["floor.sock"], paths["floor.fifo"], paths["floor.latency"]])
    agent = subprocess.Popen([os.path.join(build, "bin", "NuvroAgent")], env=env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        if not wait_for(paths["agent.sock"], agent, 15) or not wait_for(paths["floor.sock"], floor, 5):
            out = agent.stdout.read() if agent.poll() is not None else ""
            raise RuntimeError("the agent did not open the stand-in tablet " + out.strip())
        idle0 = cpu_ticks(agent.pid)
        time.sleep(1.0)
        idle = cpu_ticks(agent.pid) - idle0
        total = WARMUP + seconds + COUNT_SECONDS + 1.0
        feeder = subprocess.Popen([rig, "feed", str(total), paths["agent.sock"], paths["floor.sock"]],
                                  stdout=subprocess.PIPE, text=True)
        time.sleep(WARMUP)
        t0, a0, f0 = time.monotonic(), cpu_ticks(agent.pid), cpu_ticks(floor.pid)
        time.sleep(seconds)
        t1, a1, f1 = time.monotonic(), cpu_ticks(agent.pid), cpu_ticks(floor.pid)
        rss = rss_mib(agent.pid)
        counters = [count_calls(p) for p in (agent.pid, floor.pid)]
        traced = [parse_calls(c) for c in counters]
        sent = int(feeder.communicate()[0].split("=")[1])
    finally:
        for p in (agent, floor):
            if p.poll() is None:
                p.terminate()
        agent.wait(10)
        floor.wait(10)
        reader.terminate()
    frames = dict(re.findall(r"(\S+) frames=(\d+)", reader.communicate()[0]))
    hz = os.sysconf("SC_CLK_TCK")
    wall = t1 - t0
    agent_cpu = (a1 - a0) / hz / wall * 100
    floor_cpu = (f1 - f0) / hz / wall * 100
    reports = COUNT_SECONDS * RATE
    latency, floor_latency = (open(paths[k]).read().strip() if os.path.exists(paths[k]) else "no latency figures"
                              for k in ("latency", "floor.latency"))
    return {
        "agent_cpu": agent_cpu, "floor_cpu": floor_cpu,
        "ratio": agent_cpu / floor_cpu if floor_cpu > 0 else float("inf"),
        "agent_calls": traced[0].get("all", 0) / reports, "floor_calls": traced[1].get("all", 0) / reports,
        "agent_breakdown": {k: round(v / reports, 2) for k, v in traced[0].items() if k != "all" and v},
        "idle_cpu": idle / hz * 100, "rss_mib": rss, "sent": sent,
        "agent_frames": int(frames.get(paths["agent.fifo"], 0)),
        "floor_frames": int(frames.get(paths["floor.fifo"], 0)),
        "latency": latency, "floor_latency": floor_latency,
        "agent_p50": latency_us(latency)[0], "agent_p99": latency_us(latency)[1],
        "floor_p50": latency_us(floor_latency)[0], "floor_p99": latency_us(floor_latency)[1],
    }


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
        print(f"run {i + 1}: agent {r['agent_cpu']:.2f} % floor {r['floor_cpu']:.2f} % ratio {r['ratio']:.2f}; "
              f"system calls a report: agent {r['agent_calls']:.2f} {r['agent_breakdown']} floor {r['floor_calls']:.2f}; "
              f"idle {r['idle_cpu']:.1f} %; RSS {r['rss_mib']:.0f} MiB; reports {r['sent']} "
              f"frames agent {r['agent_frames']} floor {r['floor_frames']}; latency agent {r['latency']} "
              f"floor {r['floor_latency']}", flush=True)
    med = {k: statistics.median(r[k] for r in results)
           for k in ("agent_cpu", "floor_cpu", "ratio", "agent_calls", "agent_p50", "agent_p99", "floor_p50", "floor_p99")}
    print(f"median of {len(results)}: agent {med['agent_cpu']:.2f} % of a core, floor {med['floor_cpu']:.2f} %, "
          f"ratio {med['ratio']:.2f}, {med['agent_calls']:.2f} system calls a report; latency p50/p99 agent "
          f"{med['agent_p50']:.1f}/{med['agent_p99']:.1f} us, floor {med['floor_p50']:.1f}/{med['floor_p99']:.1f} us")
    print(f"load average after: {' '.join(f'{x:.2f}' for x in os.getloadavg())}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
