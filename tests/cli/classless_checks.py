"""Classless runs of velkor checked against Python's ipaddress: block facts,
equal splits, summaries, VLSM invariants and the refusal of bad input."""
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
    (["--summarize"], b"10.0.0.0/8\n1.2.3.4 , 5.6.7.8\n10.0.0.300/24\n",
     "standard input: line 3: '10.0.0.300/24': not an IPv4 address"),
    (["--summarize", "-"], b"9.9.9.9-9.9.9.1", "standard input: line 1: '9.9.9.9-9.9.9.1': the range ends before it starts"),
    (["--hosts", "2", "extra"], b"", "'extra': not an IPv4 address"),  # an operand is a BLOCK
]
USAGE = [["10.0.0.0/8", "--class", "A"], ["--prefix", "24"], ["10.0.0.0/8", "--vlsm", "a:1", "--list"],
         ["10.0.0.0/8", "--hosts", "2", "--prefix", "30"], ["--summarize", "--hosts", "2"],
         ["10.0.0.0/8", "--vlsm", "a:1", "--vlsm-file", "-"], ["10.0.0.0/8", "10.0.0.0/9"]]


def records(out, fmt):
    """The rows a run printed, as dicts of strings, whatever the format."""
    text = out.decode()
    if fmt == "json":
        data = json.loads(text)
        return [{k: str(v) for k, v in row.items()} for row in (data if isinstance(data, list) else [data])]
    if fmt in ("csv", "tsv"):
        return list(csv.DictReader(io.StringIO(text, newline=""), delimiter="," if fmt == "csv" else "\t"))
    return [dict(line.split(None, 1) for line in text.splitlines())]


def host_range(net):
    if net.prefixlen >= 31:
        return net.network_address, net.broadcast_address, net.num_addresses
    return net.network_address + 1, net.broadcast_address - 1, net.num_addresses - 2


def bits(address):
    return ".".join(f"{octet:08b}" for octet in A(address).packed)


def check_facts(run, failures):
    rng = random.Random(16)
    for prefix in range(33):
        address = A(rng.getrandbits(32))
        net = N(f"{address}/{prefix}", strict=False)
        first, last, hosts = host_range(net)
        expected = {"address": str(address), "network": str(net), "prefix": str(prefix),
                    "mask": str(net.netmask), "wildcard": str(net.hostmask),
                    "broadcast": str(net.broadcast_address), "first": str(first), "last": str(last),
                    "hosts": str(hosts), "addresses": str(net.num_addresses),
                    "class": "AAAAAAAABBBBCCDE"[address.packed[0] >> 4],
                    "address_bits": bits(address), "mask_bits": bits(net.netmask)}
        for fmt in ("json", "text", "csv", "tsv") if prefix % 8 == 0 else ("json",):
            code, out, err = run([f"{address}/{net.netmask if prefix % 2 else prefix}", "--format", fmt])
            got = records(out, fmt) if code == 0 else []
            if code or err or len(got) != 1 or {k: got[0].get(k) for k in expected} != expected:
                failures.append(f"facts {address}/{prefix} {fmt}: exit {code}, {got}, {err!r}")
    for block, kind in KINDS:
        code, out, _ = run([block, "--format", "json"])
        if code or json.loads(out)["kind"] != kind:
            failures.append(f"kind of {block}: {out!r}")


def split_rows(net, prefix, indexes):
    size = 2 ** (32 - prefix)
    for index in indexes:
        sub = N((int(net.network_address) + index * size, prefix))
        first, last, _ = host_range(sub)
        yield {"index": str(index), "network": str(sub.network_address), "first": str(first),
               "last": str(last), "broadcast": str(sub.broadcast_address)}


def check_splits(run, failures):
    rng = random.Random(29)
    cases = [("0.0.0.0/0", ["--prefix", "32"], 32), ("0.0.0.0/0", ["--prefix", "29"], 29),
             ("10.0.0.0/8", ["--subnets", "1000"], 18), ("172.16.0.0/12", ["--hosts", "500"], 23),
             ("192.168.0.0/24", ["--mask", "255.255.255.254"], 31), ("1.2.3.4/32", ["--subnets", "1"], 32)]
    for block, sizing, prefix in cases:
        net, total = N(block), 2 ** (prefix - N(block).prefixlen)
        for start in sorted({0, total // 2, max(total - 3, 0)}):
            code, out, err = run([block] + sizing + ["--list", "--from", str(start), "--count", "3",
                                                     "--format", "csv"])
            if code or err or records(out, "csv") != list(split_rows(net, prefix, range(start, min(start + 3, total)))):
                failures.append(f"split {block} {sizing} from {start}: exit {code}, {out[:200]!r}, {err!r}")
        address = A(int(net.network_address) + rng.randrange(net.num_addresses))
        index = (int(address) - int(net.network_address)) >> (32 - prefix)
        code, out, err = run([block] + sizing + ["--find", str(address), "--format", "json"])
        expected = dict(next(split_rows(net, prefix, [index])), page=str(1 if index == 0 else -(-index // 25)))
        if code or err or records(out, "json") != [expected]:
            failures.append(f"find {address} in {block} {sizing}: exit {code}, {out!r}, {err!r}")


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
    for count in (1, 50, 2000):
        tokens = [token(rng) for _ in range(count)]
        nets = []
        for text, span in tokens:
            nets += ipaddress.summarize_address_range(*span) if span else [N(text)]
        expected = [{"network": str(n.network_address), "prefix": str(n.prefixlen),
                     "first": str(n.network_address), "last": str(n.broadcast_address),
                     "addresses": str(n.num_addresses)} for n in ipaddress.collapse_addresses(nets)]
        stdin = "\n".join(", ".join(t for t, _ in tokens[i:i + 7]) for i in range(0, count, 7)).encode()
        for fmt in ("csv", "json"):
            code, out, err = run(["--summarize", "--format", fmt], stdin)
            if code or err or records(out, fmt) != expected:
                failures.append(f"summary of {count} tokens {fmt}: exit {code}, {err!r}")
        code, out, _ = run(["--summarize", "-"], stdin)
        if out.decode().split() != [f"{r['network']}/{r['prefix']}" for r in expected]:
            failures.append(f"summary of {count} tokens as text: {out[:200]!r}")


def check_vlsm(run, failures):
    rng = random.Random(1000)
    for count in (1, 9, 300, 1000):
        parent = N((rng.randrange(1 << 8) << 24, 8))
        items = [(f"n{i}", rng.choice([rng.randrange(1, 5000), f"/{rng.randrange(20, 33)}"])) for i in range(count)]
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as listing:
            listing.write("# wanted\n" + "".join(f"{name} {size}\n" for name, size in items))
        try:
            code, out, err = run([str(parent), "--vlsm-file", os.path.relpath(listing.name), "--format", "csv"])
        finally:
            os.unlink(listing.name)
        rows = records(out, "csv") if code == 0 else []
        problems = vlsm_problems(parent, items, rows)
        if code or err or problems:
            failures.append(f"vlsm of {count} items in {parent}: exit {code}, {err!r}, {problems[:3]}")
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
        prefix = int(size[1:]) if hosts == 0 else 32 - max(2, (hosts + 1).bit_length())  # 2^h-2 >= hosts
        first, last, usable = host_range(net)
        if (row["name"], int(row["wanted"]), net.prefixlen, int(row["usable"]), row["first"], row["last"]) != \
                (name, hosts, prefix, usable, str(first), str(last)) or not net.subnet_of(parent):
            problems.append(f"{name} {size}: {row}")
    if any(row["name"] != "(free)" or row["wanted"] != "0" for row in free):
        problems.append("free rows")
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
