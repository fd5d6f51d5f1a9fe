"""Classless runs of velkor checked against Python's ipaddress: block facts,
equal splits, summaries, VLSM invariants and the refusal of bad input, each
output in every format, JSON read as JSON."""
import csv, io, ipaddress, json, os, random, tempfile  # noqa: E401

from ipaddress import IPv4Address as A, IPv4Network as N

KINDS = [("10.1.2.3/20", "private"), ("100.64.1.1/10", "shared"), ("127.0.0.1/8", "loopback"),
         ("169.254.1.1/16", "link-local"), ("224.1.2.3/4", "multicast"),
         ("192.0.2.7/24", "documentation"), ("240.0.0.1/4", "reserved"), ("8.8.8.8/32", "public"),
         ("0.0.0.0/0", "mixed"), ("172.16.0.0/11", "mixed")]
REFUSALS = [  # arguments, standard input, the one line on standard error (exit 2)
    (["10.0.0.300/24"], b"", "'10.0.0.300/24': not an IPv4 address"),
    (["10.1.2.3/16", "--subnets", "4"], b"",
     "'10.1.2.3/16': host bits set: the network is 10.1.0.0/16"),
    (["10.0.0.0/16", "--prefix", "12"], b"",
     "--prefix '12': a /12 sub-network is larger than the block 10.0.0.0/16"),
    (["10.0.0.0/16", "--subnets", "70000"], b"",
     "--subnets '70000': a /16 block holds at most 65536 sub-networks"),
    (["10.0.0.0/24", "--prefix", "26", "--find", "10.0.1.0"], b"", "10.0.1.0 is outside 10.0.0.0/24"),
    (["10.0.0.0/24", "--vlsm", "a:300"], b"", "needs 512 addresses, the block holds 256"),
    (["10.0.0.0/24", "--vlsm", "a:3,a:x"], b"",
     "item 2: 'a:x': hosts must be a number from 1 to 4294967294"),
    (["10.0.0.0/24", "--vlsm-file", "-"], b"a 3\nb\n",
     "line 2: 'b': expected NAME HOSTS or NAME /P"),
    (["--vlsm-file", "-"], b"# no block\na 3\n",
     "standard input names no block: give a BLOCK, or begin the file with 'block BLOCK'"),
    (["--vlsm-file", "-"], b"block 10.0.0.0/24\r\na 3\r\nb\r\n", "line 3: 'b': expected NAME HOSTS or NAME /P"),
    (["--vlsm-file", "-"], b"\nblock 10.0.0.300/24\na 3", "line 2: 'block 10.0.0.300/24': not an IPv4 address"),
    (["--summarize"], b"10.0.0.0/8\n1.2.3.4 , 5.6.7.8\n10.0.0.300/24\n",
     "standard input: line 3: '10.0.0.300/24': not an IPv4 address"),
    (["--summarize", "-"], b"9.9.9.9-9.9.9.1", "standard input: line 1: '9.9.9.9-9.9.9.1': the range ends before it starts"),
    (["--hosts", "2", "extra"], b"", "'extra': not an IPv4 address"),  # an operand is a BLOCK
    (["--summarize"], b"10.0.0.5-10.0.0.4", "standard input: line 1: '10.0.0.5-10.0.0.4': the range ends before it starts"),
    (["--summarize", "no-such-dir/list.txt"], b"10.0.0.0/8", "cannot read no-such-dir/list.txt: No such file or directory"),
    (["10.0.0.0/8", "--vlsm-file", "no-such-dir/list.txt"], b"a 1", "cannot read no-such-dir/list.txt: No such file or directory"),
    (["10.0.0.0/24", "--vlsm", "n" * 65 + ":3"], b"",
     f"item 1: '{'n' * 65}:3': a name is 1 to 64 letters, digits, '-', '_' and '.'"),
    (["10.0.0.0/24", "--vlsm", "a:/255.255.255.0"], b"", "item 1: 'a:/255.255.255.0': the prefix must be /0 to /32"),
    (["10.0.0.0/24", "--vlsm-file", "-"], b"a /255.255.255.0", "line 1: 'a /255.255.255.0': the prefix must be /0 to /32"),
    (["10.0.0.0/16", "--prefix", "255.255.255.0"], b"", "--prefix '255.255.255.0': not a prefix"),
    (["10.0.0.0/24", "--vlsm-file", "-"], b"# sites\na 3\n\nb 2 # lab\na /24\n",
     "line 5: 'a /24': the name 'a' is used on line 2"),
    (["192.168.0001.0/24"], b"", "'192.168.0001.0/24': not an IPv4 address"),
    (["192.168.001.000/24"], b"", "'192.168.001.000/24': leading zeros are not allowed"),
    (["10.0.0.0/24", "--prefix", "26", "--find", "10.0.0.0001"], b"",
     "--find '10.0.0.0001': not an IPv4 address"),
]
USAGE = [["10.0.0.0/8", "--class", "A"], ["--prefix", "24"], ["10.0.0.0/8", "--vlsm", "a:1", "--list"],
         ["10.0.0.0/8", "--hosts", "2", "--prefix", "30"], ["--summarize", "--hosts", "2"],
         ["10.0.0.0/8", "--vlsm", "a:1", "--vlsm-file", "-"], ["10.0.0.0/8", "10.0.0.0/9"],
         ["--vlsm", "a:1"], ["--vlsm-file", ""], ["10.0.0.0/8", "--vlsm-file", ""]]
FORMATS = ("text", "tsv", "csv", "json")
LIST_COLUMNS = ["index", "network", "first", "last", "broadcast"]


def records(out, fmt, columns=None):
    """The rows a run printed: JSON as parsed, so numbers stay numbers; the other
    formats as strings. `columns` names the cells of a text table without header."""
    text = out.decode()
    if fmt == "json":
        data = json.loads(text)
        return data if isinstance(data, list) else [data]
    if fmt in ("csv", "tsv"):
        return list(csv.DictReader(io.StringIO(text, newline=""), delimiter="," if fmt == "csv" else "\t"))
    if columns:
        cells = [line.split() for line in text.splitlines()]
        return [dict(zip(columns, c)) if len(c) == len(columns) else {"cells": c} for c in cells]
    # A record's text: "name  value" lines; a name alone has no value.
    return [dict((pair + [""])[:2] for pair in (line.split(None, 1) for line in text.splitlines()))]


def printed(out, fmt, expected, columns=None, only=None):
    """Whether a run printed the expected rows (ints for numbers, str for the rest): in JSON
    with those types, in the other formats as their text; `only` names the keys compared."""
    try:
        got = [{k: r.get(k) for k in only} if only else r for r in records(out, fmt, columns)]
    except ValueError:  # not JSON, or a text line that is no "name value"
        return False
    if fmt == "json":
        return [{k: (type(v), v) for k, v in r.items()} for r in got] == \
            [{k: (type(v), v) for k, v in r.items()} for r in expected]
    return got == [{k: as_text(v) for k, v in r.items()} for r in expected]


def as_text(value):
    """A value as the text formats write it: no value empty, a list its words."""
    return "" if value is None else " ".join(value) if isinstance(value, list) else str(value)


def host_range(net):
    if net.prefixlen >= 31:
        return net.network_address, net.broadcast_address, net.num_addresses
    return net.network_address + 1, net.broadcast_address - 1, net.num_addresses - 2


def bits(address):
    return ".".join(f"{octet:08b}" for octet in A(address).packed)


def check_facts(run, failures):
    rng = random.Random(16)
    cases = []  # (block as typed, address, prefix, formats)
    for prefix in range(33):
        address = A(rng.getrandbits(32))
        typed = f"{address}/{N((0, prefix)).netmask if prefix % 2 else prefix}"
        cases.append((typed, address, prefix, FORMATS if prefix % 8 == 0 else ("json",)))
    # Both sides of each class bound.
    cases += [(f"{octet}.1.2.3/8", A(f"{octet}.1.2.3"), 8, FORMATS)
              for octet in (127, 128, 191, 192, 223, 224, 239, 240)]
    for typed, address, prefix, formats in cases:
        net = N(f"{address}/{prefix}", strict=False)
        first, last, hosts = host_range(net)
        expected = {"address": str(address), "network": str(net), "prefix": prefix,
                    "mask": str(net.netmask), "wildcard": str(net.hostmask),
                    "broadcast": str(net.broadcast_address), "first": str(first), "last": str(last),
                    "hosts": hosts, "addresses": net.num_addresses,
                    "class": "AAAAAAAABBBBCCDE"[address.packed[0] >> 4],
                    "address_bits": bits(address), "mask_bits": bits(net.netmask)}
        for fmt in formats:
            code, out, err = run([typed, "--format", fmt])
            if code or err or not printed(out, fmt, [expected], only=expected):
                failures.append(f"facts {typed} {fmt}: exit {code}, {out[:400]!r}, {err!r}")
    for block, kind in KINDS:
        code, out, _ = run([block, "--format", "json"])
        if code or not printed(out, "json", [{"kind": kind}], only=["kind"]):
            failures.append(f"kind of {block}: {out!r}")


def split_rows(net, prefix, indexes):
    size = 2 ** (32 - prefix)
    for index in indexes:
        sub = N((int(net.network_address) + index * size, prefix))
        first, last, _ = host_range(sub)
        yield {"index": index, "network": str(sub.network_address), "first": str(first),
               "last": str(last), "broadcast": str(sub.broadcast_address)}


def split_report(net, prefix):
    """What a split prints without --list, from ipaddress."""
    return {"network": str(net), "subnet_prefix": prefix, "subnet_mask": str(N((0, prefix)).netmask),
            "subnets": 2 ** (prefix - net.prefixlen), "addresses": 2 ** (32 - prefix),
            "hosts": host_range(N((0, prefix)))[2], "first_subnet": str(N((net.network_address, prefix))),
            "last_subnet": str(N(f"{net.broadcast_address}/{prefix}", strict=False))}


def check_splits(run, failures):
    rng = random.Random(29)
    cases = [("0.0.0.0/0", ["--prefix", "32"], 32), ("0.0.0.0/0", ["--prefix", "29"], 29),
             ("10.0.0.0/8", ["--subnets", "1000"], 18), ("172.16.0.0/12", ["--hosts", "500"], 23),
             ("192.168.0.0/24", ["--mask", "255.255.255.254"], 31), ("1.2.3.4/32", ["--subnets", "1"], 32),
             ("10.0.0.0/16", ["--prefix", "24"], 24)]
    for number, (block, sizing, prefix) in enumerate(cases):
        net, total = N(block), 2 ** (prefix - N(block).prefixlen)
        for fmt in FORMATS:
            code, out, err = run([block] + sizing + ["--format", fmt])
            if code or err or not printed(out, fmt, [split_report(net, prefix)]):
                failures.append(f"split report {block} {sizing} {fmt}: exit {code}, {out[:300]!r}, {err!r}")
        # Three rows ending one before the last index, at it and past it (cut there).
        for turn, start in enumerate(sorted({0, total // 2, max(total - 4, 0), max(total - 3, 0), max(total - 2, 0)})):
            fmt = FORMATS[(number + turn) % 4]
            code, out, err = run([block] + sizing + ["--list", "--from", str(start), "--count", "3",
                                                     "--format", fmt])
            expected = list(split_rows(net, prefix, range(start, min(start + 3, total))))
            if code or err or not printed(out, fmt, expected, LIST_COLUMNS):
                failures.append(f"split {block} {sizing} from {start} {fmt}: exit {code}, {out[:200]!r}, {err!r}")
        address = A(int(net.network_address) + rng.randrange(net.num_addresses))
        index = (int(address) - int(net.network_address)) >> (32 - prefix)
        expected = dict(next(split_rows(net, prefix, [index])), page=1 if index == 0 else -(-index // 25))
        for fmt in FORMATS:
            code, out, err = run([block] + sizing + ["--find", str(address), "--format", fmt])
            if code or err or not printed(out, fmt, [expected]):
                failures.append(f"find {address} in {block} {sizing} {fmt}: exit {code}, {out!r}, {err!r}")


def token(rng):
    base = (10 << 24) + rng.randrange(1 << 16) * 256
    kind = rng.randrange(3)
    if kind == 0:
        prefix = rng.randrange(20, 33)
        return str(N((base & ~((1 << (32 - prefix)) - 1), prefix))), None
    if kind == 1:
        return str(A(base + rng.randrange(256))), None
    first = base + rng.randrange(1 << 12)
    last = first + rng.randrange(1 << 12)
    return f"{A(first)}-{A(last)}", (A(first), A(last))


def check_summaries(run, failures):
    rng = random.Random(7)
    one = A("10.0.0.5")  # a range of one address
    for tokens in ([(f"{one}-{one}", (one, one))], [token(rng) for _ in range(50)], [token(rng) for _ in range(2000)]):
        count, nets = len(tokens), []
        for text, span in tokens:
            nets += ipaddress.summarize_address_range(*span) if span else [N(text)]
        expected = [{"network": str(n.network_address), "prefix": n.prefixlen,
                     "first": str(n.network_address), "last": str(n.broadcast_address),
                     "addresses": n.num_addresses} for n in ipaddress.collapse_addresses(nets)]
        stdin = "\n".join(", ".join(t for t, _ in tokens[i:i + 7]) for i in range(0, count, 7)).encode()
        with tempfile.NamedTemporaryFile("wb", suffix=".txt", delete=False) as listing:
            listing.write(stdin)
        path, decoy = os.path.relpath(listing.name), b"192.0.2.0/24"  # a run reading stdin prints the decoy
        try:
            for fmt, source, given in (("csv", [], stdin), ("json", [path], decoy), ("tsv", ["-"], stdin),
                                       ("text", [path], decoy)):
                code, out, err = run(["--summarize"] + source + ["--format", fmt], given)
                rows = [{"network": f"{r['network']}/{r['prefix']}"} for r in expected]
                if code or err or not printed(out, fmt, rows if fmt == "text" else expected, ["network"]):
                    failures.append(f"summary of {count} tokens {fmt} from {source}: exit {code}, {out[:200]!r}, {err!r}")
        finally:
            os.unlink(listing.name)


VLSM_COLUMNS = ["name", "wanted", "usable", "network", "mask", "first", "last", "broadcast"]


def wanted_prefix(size):
    return int(size[1:]) if str(size).startswith("/") else 32 - max(2, (size + 1).bit_length())  # 2^h-2 >= hosts


def vlsm_rows(out, fmt, parent, items):
    """A plan's rows as strings, whatever the format, and what is wrong with its form: a JSON
    number that is no number, a text table without its header or its "used" line (rounded down)."""
    if fmt != "text":
        rows = records(out, fmt)
        kinds = [[type(r.get(k)) for k in VLSM_COLUMNS] for r in rows]
        wrong = [k for k in kinds if fmt == "json" and k != [str, int, int] + [str] * 5]
        return [{k: str(v) for k, v in r.items()} for r in rows], wrong[:1]
    lines = out.decode().splitlines()
    used = sum(2 ** (32 - wanted_prefix(size)) for _, size in items)
    total = parent.num_addresses
    form = [lines[0].split(), lines[-1]] != [VLSM_COLUMNS, f"used {used} of {total} addresses ({used * 100 // total}%)"]
    return [dict(zip(VLSM_COLUMNS, line.split())) for line in lines[1:-1]], [lines[-1]] if form else []


def check_vlsm(run, failures):
    rng = random.Random(1000)
    # 255 of 256 addresses is 99.6%: 99 rounded down, 100 to the nearest or up; a name of 64 characters.
    plans = [(N("10.0.0.0/24"), [("n" * 64, "/25")] + [(f"p{p}", f"/{p}") for p in range(26, 33)])]
    for count in (1, 9, 300, 1000):
        parent = N((rng.randrange(1 << 8) << 24, 8))
        plans.append((parent, [(f"n{i}", rng.choice([rng.randrange(1, 5000), f"/{rng.randrange(20, 33)}"]))
                               for i in range(count)]))
    for number, (parent, items) in enumerate(plans):
        # Plan files: no block line, the block from its line, or one that the BLOCK given overrides.
        named = [None, parent, N("192.0.2.0/24")][number % 3]
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False, newline="") as listing:
            listing.write((f"block {named}\r\n" if named else "") + "# wanted\n" +
                          "".join(f"{name} {size}\n" for name, size in items))
        block = [] if named == parent else [str(parent)]
        try:
            for fmt in FORMATS:
                code, out, err = run(block + ["--vlsm-file", os.path.relpath(listing.name), "--format", fmt])
                try:
                    rows, problems = vlsm_rows(out, fmt, parent, items) if code == 0 else ([], [])
                    problems += vlsm_problems(parent, items, rows)
                except (ValueError, KeyError, IndexError) as error:
                    problems = [f"unreadable: {error!r}"]
                if code or err or problems:
                    failures.append(f"vlsm of {len(items)} items in {parent} {fmt}: exit {code}, {err!r}, {problems[:3]}")
        finally:
            os.unlink(listing.name)
    code, out, _ = run(["10.0.0.0/24", "--vlsm", "/25,/26,/27,/28,/29,/30,/31"])
    if code or out.decode().splitlines()[-1] != "used 254 of 256 addresses (99%)":
        failures.append(f"vlsm used line: {out[-80:]!r}")


def vlsm_problems(parent, items, rows):
    try:  # a strict read: a block that is not aligned to its size has host bits set
        [N(row["network"]) for row in rows]
    except ValueError as error:
        return [f"not aligned: {error}"]
    problems = []
    placed, free = rows[:len(items)], rows[len(items):]
    for (name, size), row in zip(items, placed):
        net = N(row["network"])
        hosts = 0 if str(size).startswith("/") else size
        if (row["name"], int(row["wanted"]), net.prefixlen) != (name, hosts, wanted_prefix(size)) or \
                not net.subnet_of(parent):
            problems.append(f"{name} {size}: {row}")
    if any(row["name"] != "(free)" or row["wanted"] != "0" for row in free):
        problems.append("free rows")
    for row in rows:
        net = N(row["network"])
        first, last, usable = host_range(net)
        if [row[k] for k in ("usable", "mask", "first", "last", "broadcast")] != \
                [str(usable), str(net.netmask), str(first), str(last), str(net.broadcast_address)]:
            problems.append(f"cells of {row}")
    blocks = sorted(N(row["network"]) for row in rows)
    if [b for b in blocks if b.num_addresses] and (blocks[0].network_address != parent.network_address or
                                                   blocks[-1].broadcast_address != parent.broadcast_address or
                                                   any(a.broadcast_address + 1 != b.network_address
                                                       for a, b in zip(blocks, blocks[1:]))):
        problems.append("blocks and free space do not tile the parent")
    free_nets = [N(row["network"]) for row in free]  # the fewest, in order, ending the parent
    if free_nets and free_nets != list(ipaddress.summarize_address_range(
            free_nets[0].network_address, parent.broadcast_address)):
        problems.append(f"free space is not the fewest blocks in order: {free_nets[:4]}")
    return problems


def check_refusals(run, failures):
    for args, stdin, message in REFUSALS:
        code, out, err = run(args, stdin)
        if (code, out, err) != (2, b"", f"velkor: {message}\n".encode()):
            failures.append(f"refusal {args}: exit {code}, stdout {out[:100]!r}, stderr {err!r}")
    for args in USAGE:
        code, out, err = run(args)
        if code != 64 or out or b"usage: velkor" not in err:
            failures.append(f"usage {args}: exit {code}, stderr {err!r}")


def check_classless(run, failures):
    for check in (check_facts, check_splits, check_summaries, check_vlsm, check_refusals):
        check(run, failures)
