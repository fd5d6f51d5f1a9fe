#!/usr/bin/env python3
"""Time and peak memory of writing every sub-network as CSV, for plans of
8,192 to 8,388,608 sub-networks: the writer that the sub-networks window's
"Save all as CSV" and velkor share, run as velkor --list --all --format csv
natively and under Wine. Peak memory is the process's maximum resident set;
flat means it does not grow with the number of rows.

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


def measure(command):
    with tempfile.TemporaryFile() as out:
        start = time.perf_counter()
        child = subprocess.Popen(command, stdout=out, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        seconds = time.perf_counter() - start
        size = out.seek(0, os.SEEK_END)
    if status != 0:
        sys.exit(f"{command} failed")
    return seconds, usage.ru_maxrss / 1024, size


def main():
    programs = [("native", [sys.argv[1]])]
    if len(sys.argv) == 4:
        programs.append(("wine", sys.argv[2:4]))
    for name, program in programs:
        for bits in SUBNET_BITS:
            rows = 2 ** bits
            args = ["--class", "A", "--subnets", str(rows // 2), "--list", "--all", "--format", "csv"]
            seconds, peak_mb, size = measure(program + args)
            print(f"{name:6} {rows:>9} rows  {size / 2**20:7.1f} MB  {seconds:6.2f} s  "
                  f"peak memory {peak_mb:6.1f} MB")


if __name__ == "__main__":
    main()
