#!/usr/bin/env python3
"""Time and peak memory of writing every sub-network as CSV, for plans of
8,192 to 8,388,608 sub-networks: the writer that the sub-networks window's
"Save all as CSV" and velkor share, run as velkor --list --all --format csv
natively and under Wine. Peak memory is the process's maximum resident set
(VmHWM), read from /proc while it runs; flat means it does not grow with the
number of rows.

usage: save_bench.py NATIVE_VELKOR [WINE_RUN WINDOWS_VELKOR]
(the Wine part needs WINEPREFIX and DISPLAY: run it inside
scripts/with-wine-display.sh)
"""
import os
import subprocess
import sys
import tempfile
import time

# Class A with s subnet bits: 2^s sub-networks, asked for as 2^(s-1) subnets.
SUBNET_BITS = [13, 17, 20, 23]


def peak_kb(pid, program):
    """VmHWM of the process once it runs `program`, or None (not yet, or gone)."""
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            if os.path.basename(program).encode() not in f.read().split(b"\0")[0]:
                return None  # still the forked copy of this script
        with open(f"/proc/{pid}/status") as f:
            return next(int(line.split()[1]) for line in f if line.startswith("VmHWM:"))
    except (OSError, StopIteration):
        return None


def measure(program, args):
    # The high-water mark only grows, so the last reading before the exit is
    # the peak but for the last milliseconds; rusage would also count the
    # memory this script had before the program was started.
    peak = 0
    with tempfile.TemporaryFile() as out:
        start = time.perf_counter()
        child = subprocess.Popen(program + args, stdout=out, stderr=subprocess.DEVNULL)
        while child.poll() is None:
            peak = max(peak, peak_kb(child.pid, program[-1]) or 0)
            time.sleep(0.002)
        seconds = time.perf_counter() - start
        size = out.seek(0, os.SEEK_END)
    if child.returncode != 0:
        sys.exit(f"{program + args} failed")
    return seconds, peak / 1024, size


def main():
    programs = [("native", [sys.argv[1]])]
    if len(sys.argv) == 4:
        programs.append(("wine", sys.argv[2:4]))
    for name, program in programs:
        for bits in SUBNET_BITS:
            rows = 2 ** bits
            args = ["--class", "A", "--subnets", str(rows // 2), "--list", "--all", "--format", "csv"]
            seconds, peak_mb, size = measure(program, args)
            print(f"{name:6} {rows:>9} rows  {size / 2**20:7.1f} MB  {seconds:6.2f} s  "
                  f"peak memory {peak_mb:6.1f} MB")


if __name__ == "__main__":
    main()
