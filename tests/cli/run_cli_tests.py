#!/usr/bin/env python3
"""Runs the built velkor program as a user would and checks what it prints.

usage: run_cli_tests.py VERSION_LINE PROGRAM [PROGRAM_ARGS...]
PROGRAM may be an emulator followed by the program (wine-run velkor.exe).
Expected outputs live in expected/; they were worked out from the calculator's
rules and examples, not captured from the program.
"""
import csv
import io
import ipaddress
import json
import pathlib
import subprocess
import sys

from classless_checks import check_classless, printed
from ipv6_checks import check_ipv6
from sets_checks import check_sets

EXPECTED = pathlib.Path(__file__).resolve().parent / "expected"
B256 = ["--class", "B", "--subnets", "200", "--list"]  # 8 subnet bits: 256 sub-networks

# (arguments, exit status, expected stdout file, expected stderr file); None = must be empty.
EXACT_CASES = [
    # The report, as the desktop program's result area shows it.
    (["--hosts", "50"], 0, "report_c_hosts_50.txt", None),
    (["--class", "C", "--network", "192.168.1.0", "--hosts", "50"], 0, "report_c_hosts_50.txt", None),
    # Addresses reach the checks as an address entry prints them.
    (["--network=192.168.001.000", "--hosts=50"], 0, "report_c_hosts_50.txt", None),
    (["--mask", "255.255.255.0"], 0, "report_c_mask_255_255_255_0.txt", None),
    (["--class", "a", "--mask", "255.0.0.0"], 0, "report_a_mask_255_0_0_0.txt", None),
    # Refused network: checked before the count or the mask.
    (["--network", "10.0.0.0", "--hosts", "50"], 2, None, "error_network.txt"),
    (["--network", "192.168.1.5", "--hosts", "50"], 2, None, "error_network.txt"),
    (["--network", "224.0.0.0", "--hosts", "50"], 2, None, "error_network.txt"),
    (["--network", "10.0.0.0", "--hosts", "0"], 2, None, "error_network.txt"),
    (["--class", "B", "--network", "172.16.1.0", "--mask", "255.255.255.0"], 2, None,
     "error_network.txt"),
    (["--class", "A", "--network", "127.0.0.0", "--subnets", "2"], 2, None, "error_network.txt"),
    # Refused counts, overflowing digit runs included (2^64 + 50 would wrap to 50).
    (["--hosts", "65"], 2, None, "error_hosts_c.txt"),
    (["--hosts", "1"], 2, None, "error_hosts_c.txt"),
    (["--hosts", "-5"], 2, None, "error_hosts_c.txt"),
    (["--hosts", ""], 2, None, "error_hosts_c.txt"),
    (["--hosts", "18446744073709551666"], 2, None, "error_hosts_c.txt"),
    (["--hosts", "36893488147419103282"], 2, None, "error_hosts_c.txt"),
    (["--hosts", "65", "--list"], 2, None, "error_hosts_c.txt"),
    (["--class", "B", "--subnets", "16385"], 2, None, "error_networks_b.txt"),
    (["--class", "B", "--subnets", "18446744073709551666"], 2, None, "error_networks_b.txt"),
    # Refused masks.
    (["--mask", "255.255.255.252"], 2, None, "error_mask.txt"),
    (["--mask", "255.255.255.64"], 2, None, "error_mask.txt"),
    (["--mask", "255.255.254.0"], 2, None, "error_mask.txt"),
    (["--mask", "0.0.0.0"], 2, None, "error_mask.txt"),
    # Listings in every format.
    (["--hosts", "50", "--list"], 0, "list_c_hosts_50.txt", None),
    (["--hosts", "50", "--list", "--all", "--format", "text"], 0, "list_c_hosts_50.txt", None),
    (["--hosts", "50", "--list", "--format", "tsv"], 0, "list_c_hosts_50.tsv", None),
    (["--hosts", "50", "--list", "--format", "csv"], 0, "list_c_hosts_50.csv", None),
    (["--hosts", "50", "--list", "--format=json"], 0, "list_c_hosts_50.json", None),
    (["--mask", "255.255.255.0", "--list", "--format", "json"], 0,
     "list_c_mask_255_255_255_0.json", None),
    # Pages as the desktop list shows them: 0-25, 26-50, ..., 251-255.
    (B256 + ["--page", "1"], 0, "list_b_256_page_1.txt", None),
    (B256 + ["--page", "11"], 0, "list_b_256_page_11.txt", None),
    (["--class", "B", "--subnets", "254", "--list", "--page", "11"], 0, "list_b_256_page_11.txt",
     None),
    # A span is cut at the last index, never wrapped.
    (B256 + ["--from", "250", "--count", "10"], 0, "list_b_256_from_250_count_10.txt", None),
    (B256 + ["--from", "250", "--count", "99999999999999999999999"], 0,
     "list_b_256_from_250_count_10.txt", None),
    (B256 + ["--from", "250"], 0, "list_b_256_from_250_count_10.txt", None),
]

# Usage errors: exit 64, a "velkor: " line and the usage on stderr, nothing on stdout.
USAGE_CASES = [
    [],
    ["--class", "D", "--hosts", "2"],
    ["--class", "", "--hosts", "2"],
    ["--network", "300.1.1.0", "--hosts", "2"],  # 300 must not become 44
    ["--network", "192.168.1", "--hosts", "2"],
    ["--network", "192.168.1.0.0", "--hosts", "2"],
    ["--network", " 192.168.1.0", "--hosts", "2"],
    ["--network", "192.168..0", "--hosts", "2"],
    ["--network", "192.168.0001.0", "--hosts", "2"],  # three digits at most (001 passes)
    ["--mask", "255.255.255.256"],
    ["--hosts", "2", "--subnets", "2"],
    ["--hosts", "2", "--hosts", "3"],
    ["--hosts"],
    ["--bogus", "--hosts", "2"],
    ["--list=yes", "--hosts", "2"],
    ["--hosts", "2", "--page", "1"],
    ["--hosts", "2", "--format", "csv"],
    ["--hosts", "2", "--list", "--page", "0"],
    ["--hosts", "2", "--list", "--page", "x"],
    ["--hosts", "2", "--list", "--page", "1", "--all"],
    ["--hosts", "2", "--list", "--page", "1", "--from", "0"],
    ["--hosts", "2", "--list", "--count", "0"],
    ["--hosts", "2", "--list", "--from", "-1"],
    ["--hosts", "2", "--list", "--format", "xml"],
    ["--hosts", "2", "--find", "192.168.1"],
    ["--hosts", "2", "--find", "192.168.1.0001"],
    ["--hosts", "2", "--find", "192.168.1.0", "--list"],
    ["--hosts", "2", "--find", "192.168.1.0", "--page", "1"],
    ["--hosts", "2", "--find", "192.168.1.0", "--format", "xml"],
]

# Rows that do not exist: exit 2 with a message, nothing on stdout.
MISSING_ROW_CASES = [
    B256 + ["--page", "12"],
    B256 + ["--page", "99999999999999999999999"],
    B256 + ["--from", "256"],
    ["--mask", "255.255.255.0", "--list", "--from", "1", "--count", "1"],
]


def run(program, args, stdin=b""):
    done = subprocess.run(program + args, input=stdin, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=120)
    return done.returncode, done.stdout, done.stderr


def expected_bytes(name):
    return b"" if name is None else (EXPECTED / name).read_bytes()


def check_exact(program, failures):
    for args, status, out_name, err_name in EXACT_CASES:
        code, out, err = run(program, args)
        if (code, out, err) != (status, expected_bytes(out_name), expected_bytes(err_name)):
            failures.append(f"{args}: exit {code}, stdout {out[:300]!r}, stderr {err[:300]!r}")


def check_refusals(program, failures):
    for args in USAGE_CASES:
        code, out, err = run(program, args)
        if code != 64 or out or not err.startswith(b"velkor: ") or b"usage: velkor" not in err:
            failures.append(f"usage {args}: exit {code}, stdout {out[:100]!r}, stderr {err!r}")
    for args in MISSING_ROW_CASES:
        code, out, err = run(program, args)
        if code != 2 or out or not err.startswith(b"velkor: ") or err.count(b"\n") != 1:
            failures.append(f"missing rows {args}: exit {code}, stdout {out[:100]!r}, stderr {err!r}")


def check_help_and_version(program, version_line, failures):
    code, out, err = run(program, ["--help"])
    if code != 0 or err or not out.startswith(b"usage: velkor") or b"--format" not in out:
        failures.append(f"--help: exit {code}, stderr {err!r}")
    code, out, err = run(program, ["--hosts", "50", "--version"])
    if (code, out, err) != (0, (version_line + "\n").encode(), b""):
        failures.append(f"--version: exit {code}, stdout {out!r}, stderr {err!r}")


def check_count_boundaries(program, failures):
    # The limit itself is accepted: first report line per the class C table.
    for args, mask in [(["--hosts", "2"], "255.255.255.252"), (["--hosts", "64"], "255.255.255.128"),
                       (["--subnets", "64"], "255.255.255.254"),
                       (["--class", "B", "--subnets", "16384"], "255.255.255.254"),
                       (["--class", "A", "--hosts", "4194304"], "255.128.0.0")]:
        code, out, err = run(program, args)
        first = out.split(b"\n")[0].decode()
        if code != 0 or err or first != "Subnetmask:".ljust(30) + mask:
            failures.append(f"{args}: exit {code}, first line {first!r}, stderr {err!r}")


def subnet_rows(network, block, count):
    base = int(ipaddress.IPv4Address(network))
    for index in range(count):
        start = base + index * block
        hosts = list(ipaddress.IPv4Network((start, 32 - (block.bit_length() - 1))).hosts())
        addresses = (start, int(hosts[0]), int(hosts[-1]), start + block - 1)
        yield [str(index)] + [str(ipaddress.IPv4Address(a)) for a in addresses]


def check_parsers(program, failures):
    # JSON: one valid array of objects with the documented keys and types.
    code, out, _ = run(program, ["--hosts", "50", "--list", "--format", "json"])
    try:
        objects = json.loads(out.decode())
        rows = [[str(o["index"])] + [o[k] for k in ("network", "first", "last", "broadcast")]
                for o in objects]
        if not all(isinstance(o["index"], int) and len(o) == 5 for o in objects):
            failures.append("json: index not a number or extra keys")
        if rows != list(subnet_rows("192.168.1.0", 64, 4)):
            failures.append(f"json rows: {rows}")
    except (ValueError, KeyError, TypeError) as error:
        failures.append(f"json does not parse: {error}")
    # CSV through an RFC 4180 reader; 32768 rows cross many output blocks (h = 1, B = 2).
    code, out, _ = run(program, ["--class", "B", "--subnets", "16384", "--list", "--format", "csv"])
    records = list(csv.reader(io.StringIO(out.decode(), newline="")))
    expected = list(subnet_rows("172.16.0.0", 2, 32768))
    if code != 0 or records[:1] != [["index", "network", "first", "last", "broadcast"]]:
        failures.append(f"csv header: exit {code}, {records[:1]}")
    elif records[1:] != expected:
        differing = [i for i, (a, b) in enumerate(zip(records[1:], expected)) if a != b]
        failures.append(f"csv: {len(records) - 1} rows, differing from index {differing[:1]}")

# --find: (plan arguments, network, block size, sub-networks, address looked up).
FIND_CASES = [
    (["--hosts", "50"], "192.168.1.0", 64, 4, "192.168.1.0"),
    (["--hosts", "50"], "192.168.1.0", 64, 4, "192.168.1.255"),
    (["--class", "B", "--mask", "255.255.255.0"], "172.16.0.0", 256, 256, "172.16.51.7"),
    (["--class", "A", "--subnets", "4194304"], "10.0.0.0", 2, 8388608, "10.0.0.1"),
    (["--class", "A", "--subnets", "4194304"], "10.0.0.0", 2, 8388608, "10.200.3.77"),
    (["--class", "A", "--subnets", "4194304"], "10.0.0.0", 2, 8388608, "10.255.255.255"),
]
FIND_OUTSIDE = [(["--hosts", "50"], "192.168.2.0"), (["--class", "A", "--hosts", "2"], "9.0.0.1")]


def check_find(program, failures):
    keys = ["index", "page", "network", "first", "last", "broadcast"]
    for args, network, block, count, address in FIND_CASES:
        base = int(ipaddress.IPv4Address(network))
        index = (int(ipaddress.IPv4Address(address)) - base) // block
        assert index < count
        row = next(subnet_rows(str(ipaddress.IPv4Address(base + index * block)), block, 1))
        page = 1 if index == 0 else -(-index // 25)
        expected = dict(zip(keys, [index, page] + row[1:]))
        for fmt in ("text", "tsv", "csv", "json"):
            code, out, err = run(program, args + ["--find", address, "--format", fmt])
            if code or err or not printed(out, fmt, [expected]):
                failures.append(f"--find {address} {fmt}: exit {code}, {out[:300]!r}, stderr {err!r}")
    for args, address in FIND_OUTSIDE:
        code, out, err = run(program, args + ["--find", address])
        if code != 2 or out or not err.startswith(b"Address outside the plan: " + address.encode()):
            failures.append(f"--find {address} outside: exit {code}, stdout {out!r}, stderr {err!r}")


def check_write_failure(program, failures):
    # A full disk must not pass for success (Wine hands the device through too).
    for args in (["--hosts", "50"], ["--hosts", "50", "--list", "--format", "json"], ["--help"],
                 ["--version"], ["10.0.0.0/8", "--prefix", "24", "--list"], ["10.0.0.0/8"]):
        with open("/dev/full", "wb") as full:
            done = subprocess.run(program + args, stdout=full, stderr=subprocess.PIPE, timeout=120)
        if done.returncode != 1 or not done.stderr.startswith(b"velkor: "):
            failures.append(f"{args} to a full disk: exit {done.returncode}, stderr {done.stderr!r}")


def main():
    version_line, program = sys.argv[1], sys.argv[2:]
    failures = []
    check_exact(program, failures)
    check_refusals(program, failures)
    check_help_and_version(program, version_line, failures)
    check_count_boundaries(program, failures)
    check_parsers(program, failures)
    check_find(program, failures)
    check_write_failure(program, failures)
    check_classless(lambda args, stdin=b"": run(program, args, stdin), failures)
    check_ipv6(lambda args, stdin=b"": run(program, args, stdin), failures)
    check_sets(lambda args, stdin=b"": run(program, args, stdin), failures)
    for failure in failures:
        print("FAIL", failure)
    print(f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
