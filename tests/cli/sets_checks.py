"""Address lists as sets, checked against netaddr's IPSet and Python's
ipaddress: what lists share and leave, the free space of a block and its next
free blocks, overlaps within a list, their edges, and refused input."""
import ipaddress, os, random, tempfile  # noqa: E401

import netaddr

from classless_checks import records
from ipv6_checks import FORMATS, text6

FAMILIES = [(0x0A000000, 32, 4), (0x20010DB8 << 96, 128, 6)]  # the start of the space used, width, version


def text(value, version):
    return str(ipaddress.IPv4Address(value)) if version == 4 else text6(value)


def random_list(rng, count):
    """Blocks, addresses and ranges of both families within 4,096 addresses, one to three a line."""
    tokens = []
    for _ in range(count):
        base, width, version = rng.choice(FAMILIES)
        first, kind, host = base + rng.randrange(4096), rng.randrange(3), rng.randrange(13)
        last = min(first + rng.randrange(600), base + 4095)
        tokens.append(f"{text(first >> host << host, version)}/{width - host}" if kind == 0 else
                      text(first, version) + ("" if kind == 1 else "-" + text(last, version)))
    cuts = sorted(rng.sample(range(1, count), count // 2))
    return "\n".join(rng.choice((", ", " ", "\t,")).join(tokens[a:b]) for a, b in zip([0] + cuts, cuts + [count])) + "\n"


def entries_of(listing):
    """(line, text, first, last, version) of every entry, as ipaddress reads it."""
    found = []
    for number, line in enumerate(listing.splitlines(), 1):
        for token in line.replace(",", " ").split():
            ends = token.split("-")
            net = ipaddress.ip_network(ends[0])
            last = net.broadcast_address if len(ends) == 1 else ipaddress.ip_address(ends[1])
            found.append((number, token, int(net.network_address), int(last), net.version))
    return found


def ipset(listing):
    return netaddr.IPSet(netaddr.IPRange(netaddr.IPAddress(first, version), netaddr.IPAddress(last, version))
                         for _, _, first, last, version in entries_of(listing))


def check_output(run, failures, what, args, expected, text_lines, err=b"", status=0):
    """Every format prints the expected records; json with numbers as numbers."""
    for fmt in FORMATS:
        code, out, got_err = run(args + ["--format", fmt])
        want = text_lines if fmt == "text" else [{k: str(v) for k, v in r.items()} for r in expected]
        try:
            got = out.decode().splitlines() if fmt == "text" else records(out, fmt)
            if fmt == "json":
                got = [{k: str(v) for k, v in g.items()} if all(type(v) is type(r[k]) for k, v in g.items())
                       else f"json types differ: {g}" for g, r in zip(got, expected)] + got[len(expected):]
        except (ValueError, KeyError) as error:
            got = f"unreadable: {error}"
        if (code, got_err, got) != (status, err, want):
            failures.append(f"{what} {fmt}: exit {code}, {str(got)[:300]}, {got_err[:200]!r}")


def check_blocks(run, failures, what, args, blocks, tail=(), err=b""):
    """The rows of the fewest blocks, IPv4 first (netaddr's order), text as RFC 5952 has it."""
    rows = [{"network": text(c.first, c.version), "prefix": c.prefixlen, "first": text(c.first, c.version),
             "last": text(c.last, c.version), "addresses": c.size} for c in blocks]
    lines = [f"{r['network']}/{r['prefix']}" for r in rows] + list(tail)
    check_output(run, failures, what, args, rows, lines, err)


def check_free(run, failures, what, block, used_file, listing):
    block = ipaddress.ip_network(block)
    space = netaddr.IPSet([str(block)])
    used = ipset(listing) & space
    outside = sum(1 for _, _, first, last, version in entries_of(listing) if version != block.version or
                  first < int(block.network_address) or last > int(block.broadcast_address))
    note = f"velkor: {outside} used {'entry lies' if outside == 1 else 'entries lie'} partly or wholly outside {block}\n"
    tail = f"used {used.size} of {block.num_addresses} addresses ({used.size * 100 // block.num_addresses}%)"
    check_blocks(run, failures, f"free {what}", [str(block), "--free", used_file], (space - used).iter_cidrs(),
                 [tail], note.encode() if outside else b"")


def check_next(run, failures, what, block, bits, used_file, listing, counts):
    """The first N free blocks of the 2^bits candidates, or the refusal when fewer fit."""
    net, used = ipaddress.ip_network(block), ipset(listing)
    prefix = net.prefixlen + bits
    free = [netaddr.IPNetwork(str(s)) for s in net.subnets(new_prefix=prefix) if netaddr.IPSet([str(s)]).isdisjoint(used)]
    for count in {counts, len(free), len(free) + 1} - {0}:  # both sides of the bound
        args = [block, "--next", f"/{prefix}", "--used", used_file, "--count", str(count)]
        if count <= len(free):
            check_blocks(run, failures, f"next {what}", args, free[:count])
            continue
        code, out, err = run(args)
        message = f"velkor: only {len(free)} free /{prefix} {'block' if len(free) == 1 else 'blocks'} in {block}\n"
        if (code, out, err) != (2, b"", message.encode()):
            failures.append(f"next {what} refused: exit {code}, {out[:100]!r}, {err!r}")


def check_overlaps(run, failures, what, list_file, listing):
    entries = entries_of(listing)
    expected = [{"line_a": a[0], "entry_a": a[1], "line_b": b[0], "entry_b": b[1],
                 "overlap": f"{text(max(a[2], b[2]), a[4])}-{text(min(a[3], b[3]), a[4])}"}
                for i, a in enumerate(entries) for b in entries[i + 1:] if a[4] == b[4] and max(a[2], b[2]) <= min(a[3], b[3])]
    lines = [f"line {r['line_a']} '{r['entry_a']}' and line {r['line_b']} '{r['entry_b']}' share {r['overlap']}"
             for r in expected]
    check_output(run, failures, f"overlaps {what}", ["--overlaps", list_file], expected, lines, status=3 if expected else 0)


def list_files(listings):
    files = []
    for listing in listings:
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as file:
            file.write(listing)
        files.append(os.path.relpath(file.name))
    return files


def check_lists(run, failures, what, listings, block4="10.0.0.0/22", block6="2001:db8::/118"):
    """Every operation on the lists (the second is the used one), each against its oracle."""
    files = list_files(listings)
    try:
        sets = [ipset(listing) for listing in listings]
        common, rest = sets[0], sets[0]
        for other in sets[1:]:
            common, rest = common & other, rest - other
        check_blocks(run, failures, f"common {what}", ["--common"] + files, common.iter_cidrs())
        check_blocks(run, failures, f"except {what}", ["--except"] + files, rest.iter_cidrs())
        check_blocks(run, failures, f"summary {what}", ["--summarize", files[0]], sets[0].iter_cidrs())
        for block, bits in ((block4, 5), (block6, 4)):
            check_free(run, failures, f"{what} in {block}", block, files[1], listings[1])
            check_next(run, failures, what, block, bits, files[1], listings[1], 1)
        check_overlaps(run, failures, what, files[0], listings[0])
    finally:
        for name in files:
            os.unlink(name)


EDGES = [  # what, the lists
    ("whole spaces", ["0.0.0.0/0\n::/0\n", "0.0.0.0/32 ::/128\n", "255.255.255.255 ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"]),
    ("first and last addresses", ["0.0.0.0 255.255.255.255 :: ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff\n",
                                  "0.0.0.0-255.255.255.255 ::-ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff\n"]),
    ("nested, adjacent and repeated", ["10.0.0.0/22\n10.0.1.0/24\n10.0.1.0/24\n10.0.4.0/24\n2001:db8::/118\n2001:db8::/118\n",
                                       "10.0.0.0/23,10.0.2.0/23\n10.0.3.255-10.0.4.3\n2001:db8::/119 2001:db8::200/119"]),
    ("empty lists", ["", "\n \n", ""]),
    ("used covers the blocks", ["10.0.0.0/8", "10.0.0.0/8 2001:db8::/32 9.0.0.0/8"]),
    ("the longest entry", ["0000:0000:0000:0000:0000:ffff:255.255.255.255-0000:0000:0000:0000:0000:ffff:255.255.255.255\n"
                           "::ffff:255.255.255.255", "10.0.0.0/24"]),
]
REFUSED = [  # arguments ({} is the file holding the list), the list, the message after "velkor: FILE: "
    (["--common", "{}", "{}"], "10.0.0.0/8\n\n10.0.0.300/24\n", "line 3: '10.0.0.300/24': not an IPv4 address"),
    (["--except", "{}", "{}"], "::1 ::2 1::2::3", "line 1: '1::2::3': '::' may appear only once"),
    (["10.0.0.0/8", "--free", "{}"], "\n10.0.0.9-10.0.0.1", "line 2: '10.0.0.9-10.0.0.1': the range ends before it starts"),
    (["10.0.0.0/8", "--next", "/24", "--used", "{}"], "10.1.2.3/16", "line 1: '10.1.2.3/16': host bits set: the network is 10.1.0.0/16"),
    (["--overlaps", "{}"], "1.2.3.4-::1", "line 1: '1.2.3.4-::1': both ends of a range must be of one family"),
]
USAGE = [["--common", "a.txt"], ["--except", "-", "-"], ["10.0.0.0/8", "--next", "/24"],
         ["10.0.0.0/8", "--next", "/24", "--used", "u.txt", "--count", "0"], ["--free", "u.txt"],
         ["10.0.0.0/8", "--used", "u.txt"], ["--overlaps", "a.txt", "b.txt"], ["--common", "a", "b", "--except"]]


def check_refused(run, failures):
    for args, listing, message in REFUSED:
        name = list_files([listing])[0]
        code, out, err = run([a.format(name) for a in args])
        os.unlink(name)
        if (code, out, err) != (2, b"", f"velkor: {name}: {message}\n".encode()):
            failures.append(f"refused {args} {listing!r}: exit {code}, {out[:100]!r}, {err!r}")
    code, out, err = run(["--overlaps"], b"10.0.0.0/8\n10.0.0.256")
    if (code, out, err) != (2, b"", b"velkor: standard input: line 2: '10.0.0.256': not an IPv4 address\n"):
        failures.append(f"refused from standard input: exit {code}, {err!r}")
    for args in USAGE:
        code, out, err = run(args)
        if code != 64 or out or b"usage: velkor" not in err:
            failures.append(f"usage {args}: exit {code}, {err[:200]!r}")


def check_sets(run, failures):
    rng = random.Random(24)
    for count in (30, 1200):
        check_lists(run, failures, f"of {count} random entries", [random_list(rng, count) for _ in range(3)])
    for what, listings in EDGES:
        check_lists(run, failures, what, listings)
    check_lists(run, failures, "in whole spaces", EDGES[0][1], "0.0.0.0/0", "::/0")
    check_refused(run, failures)
