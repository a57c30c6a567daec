#!/usr/bin/env python3
"""Side by side on one zel-sim: `zel get-data` of three traces with the chart and every annotation,
against peer_get_data.py (PyVISA with its pure-Python backend, writing with openpyxl and with
XlsxWriter), whole processes, in rotating order so that neither side always runs on a warm cache.
Prints the median wall time and peak resident memory of each, and how many times faster zel is.

usage: compare_get_data.py [--build build/default] [--pairs 5] [--points 30001]"""
import argparse, os, platform, re, socket, statistics, subprocess, sys, tempfile, time
from pathlib import Path

here = Path(__file__).resolve().parent
ap = argparse.ArgumentParser()
ap.add_argument("--build", default=str(here.parent / "build" / "default"))
ap.add_argument("--pairs", type=int, default=5)
ap.add_argument("--points", type=int, default=30001)
ap.add_argument("--python", default="/usr/bin/python3", help="the interpreter with pyvisa, pyvisa-py, openpyxl, xlsxwriter")
a = ap.parse_args()
build = Path(a.build)


def machine():
    cpu = next((l.split(":", 1)[1].strip() for l in open("/proc/cpuinfo") if l.startswith("model name")), "?")
    mem = next((int(l.split()[1]) // 1024 for l in open("/proc/meminfo") if l.startswith("MemTotal")), 0)
    peer = subprocess.run([a.python, "-c", "import platform, pyvisa, pyvisa_py, openpyxl, xlsxwriter as x; "
                           "print(platform.python_version(), pyvisa.__version__, openpyxl.__version__, x.__version__)"],
                          capture_output=True, text=True, check=True).stdout.split()
    return (f"{cpu}, {os.cpu_count()} cores, {mem} MB, {platform.system()} {platform.release()}; peers on Python "
            f"{peer[0]}, PyVISA {peer[1]} (pyvisa-py), openpyxl {peer[2]}, XlsxWriter {peer[3]}")


def run(command):
    """Wall seconds, CPU seconds and peak resident MB of one process, which must succeed."""
    started = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - started
    err = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{command[0]} failed:\n{err}")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024


sim = subprocess.Popen([str(build / "simulator" / "zel-sim"), "--port", "0"], stdout=subprocess.PIPE, text=True)
try:
    port = int(re.search(r":(\d+)$", sim.stdout.readline().strip()).group(1))
    with socket.create_connection(("127.0.0.1", port)) as s:
        s.sendall(f":SENS:SWE:POIN {a.points};:TRAC1:MODE WRIT;:TRAC2:MODE MAXH;:TRAC3:MODE MINH\n".encode())
        s.sendall(b":SENS:SWE:POIN?\n")
        if int(float(s.recv(64).decode())) != a.points:
            sys.exit("zel-sim did not take the number of points")
    address = f"TCPIP0::127.0.0.1::{port}::SOCKET"
    out = Path(tempfile.mkdtemp(prefix="zel-compare-"))
    commands = {
        "zel get-data --chart --annotations all": lambda i: [
            str(build / "apps" / "zel"), "get-data", "--instrument", address, "--chart", "--annotations", "all",
            "--force", "--out", str(out / f"zel-{i}.xlsx")],
        "PyVISA (pure-Python backend) + XlsxWriter": lambda i: [
            a.python, str(here / "peer_get_data.py"), address, str(out / f"xw-{i}.xlsx"), "--writer", "xlsxwriter"],
        "PyVISA (pure-Python backend) + openpyxl": lambda i: [
            a.python, str(here / "peer_get_data.py"), address, str(out / f"op-{i}.xlsx"), "--writer", "openpyxl"],
    }
    names = list(commands)
    results = {name: [] for name in names}
    for i in range(a.pairs):
        for k in range(len(names)):
            name = names[(i + k) % len(names)]
            results[name].append(run(commands[name](i)))
    median = lambda name, k: statistics.median(r[k] for r in results[name])
    print(f"One Get Data of 3 x {a.points} points from zel-sim on loopback, with the chart and every annotation;")
    print(f"whole processes, median of {a.pairs} rounds. Machine: {machine()}; "
          f"load average {os.getloadavg()[0]:.1f}\n")
    print("| command | wall | CPU | peak memory | zel faster by (wall) | (CPU) |")
    print("|---|---|---|---|---|---|")
    for i, name in enumerate(names):
        wall, cpu, peak = median(name, 0), median(name, 1), median(name, 2)
        ratios = ("", "") if i == 0 else (f"{wall / median(names[0], 0):.1f}x", f"{cpu / median(names[0], 1):.1f}x")
        shown = f"`{name}`" if i == 0 else name
        print(f"| {shown} | {wall:.3f} s | {cpu:.3f} s | {peak:.0f} MB | {ratios[0]} | {ratios[1]} |")
finally:
    sim.terminate()
    sim.wait()
