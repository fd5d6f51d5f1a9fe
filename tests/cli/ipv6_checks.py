"""IPv6 runs of velkor, and the reading rules both families share, checked
against Python's ipaddress: text in and out, block facts, splits and finds up
to 2^128 rows, VLSM invariants, mixed summaries and refused tokens."""
import ipaddress, json, random  # noqa: E401

from ipaddress import IPv6Address as A6, IPv6Network as N6, ip_network

from classless_checks import printed

FORMATS = ("text", "tsv", "csv", "json")

# RFC 5952 section 4 (and 5 for the mapped form): text as typed, text written.
RFC5952 = [("2001:db8:0:0:0:0:2:1", "2001:db8::2:1"), ("2001:0db8::0001", "2001:db8::1"),
           ("2001:db8:0:1:1:1:1:1", "2001:db8:0:1:1:1:1:1"),  # one zero group stays
           ("2001:0:0:1:0:0:0:1", "2001:0:0:1::1"),  # the longest run
           ("2001:db8:0:0:1:0:0:1", "2001:db8::1:0:0:1"),  # the first of equal runs
           ("2001:DB8::AbCd", "2001:db8::abcd"), ("0:0:0:0:0:0:0:0", "::"), ("::1", "::1"),
           ("1::", "1::"), ("::ffff:192.0.2.1", "::ffff:192.0.2.1"),
           ("0:0:0:0:0:ffff:c000:201", "::ffff:192.0.2.1"), ("64:ff9b::192.0.2.33", "64:ff9b::c000:221"),
           ("fe80:0:0:0:0:0:0:0", "fe80::")]

# One address of each registry entry, and blocks that hold several kinds.
KINDS = [("::/128", "unspecified"), ("::1", "loopback"), ("::ffff:10.0.0.1", "ipv4-mapped"),
         ("64:ff9b::1", "ipv4-translation"), ("64:ff9b:1::1", "ipv4-translation"), ("100::1", "discard"),
         ("2001::1", "teredo"), ("2001:2::1", "benchmarking"), ("2001:20::1", "orchid"),
         ("2001:db8::1", "documentation"), ("3fff::1", "documentation"), ("2002::1", "6to4"),
         ("5f00::1", "segment-routing"), ("fd00::1", "unique-local"), ("fe80::1", "link-local"),
         ("ff02::1", "multicast"), ("2400:cb00::1", "global-unicast"), ("4000::1", "reserved"),
         ("::/0", "mixed"), ("2000::/3", "mixed"), ("2001::/31", "mixed"), ("2001:db8::/31", "mixed"),
         ("3fff::/20", "documentation"), ("2001:4::/32", "global-unicast")]

# Tokens refused as a BLOCK (exit 2, nothing on standard output): the message.
BAD_BLOCKS = [("2001:db8::12345", "a group has more than 4 hex digits"),
              ("1::2::3", "'::' may appear only once"), ("1:::2", "':::' is not allowed"),
              ("1:2:3:4:5:6:7:8:9", "more than 8 groups"),
              ("1:2:3:4::5:6:7:8", "'::' stands for no group here: the address has 8 groups"),
              ("1:2:3:4:5:6:7", "fewer than 8 groups and no '::'"),
              ("::ffff:1.2.3", "an IPv4 part must be a whole dotted address at the end"),
              ("::1.2.3.4:5", "an IPv4 part must be a whole dotted address at the end"),
              (":1::", "an address cannot begin or end with a single ':'"),
              ("1::2:", "an address cannot begin or end with a single ':'"),
              ("fe80::1%eth0", "zone ids (after '%') are not part of an address block"),
              ("2001:db8::/129", "the prefix must be a number from 0 to 128"),
              ("2001:db8::/+64", "the prefix must be a number from 0 to 128"),
              ("2001:db8::/0064", "the prefix must be a number from 0 to 128"),
              ("2001:dg8::", "not an IPv6 address"),
              # IPv4 read the same careful way.
              ("010.1.1.1", "leading zeros are not allowed"), ("10.1.1.01/8", "leading zeros are not allowed"),
              ("1.2.3.4/255.255.255.000", "leading zeros are not allowed"),
              ("10.0.0.0/0024", "the prefix must be a number from 0 to 32"),
              ("10.0.0.0/+8", "the prefix must be a number from 0 to 32"),
              ("a.b.c.d", "not an IPv4 address"), (" 1.2.3.4", "not an IPv4 address"),
              ("10.0.0.0/255.0.255.0", "the mask is not contiguous")]

# Accepted IPv4 spellings: typed, the network velkor reads (ipaddress agrees).
GOOD_IPV4 = [("10.0.0.0/08", "10.0.0.0/8"), ("10.0.0.0/008", "10.0.0.0/8"), ("10.1.0.0/024", "10.1.0.0/24"),
             ("127.0.0.0/0.0.0.255", "127.0.0.0/24"), ("10.0.0.0/0.255.255.255", "10.0.0.0/8"),
             ("0.0.0.0/0.0.0.0", "0.0.0.0/0"), ("1.2.3.4/255.255.255.255", "1.2.3.4/32")]


def text6(address):
    """RFC 5952 text, which Python 3.11 misses for IPv4-mapped addresses."""
    address = A6(address)
    return f"::ffff:{address.ipv4_mapped}" if address.ipv4_mapped else str(address)


def check_records(run, failures, what, args, expected, formats=FORMATS, stdin=b"", subset=False):
    """Each format prints the expected records (or, with `subset`, their fields)."""
    for fmt in formats:
        code, out, err = run(args + ["--format", fmt], stdin)
        if code or err or not printed(out, fmt, expected, only=list(expected[0]) if subset else None):
            failures.append(f"{what} {fmt}: exit {code}, {out[:300]!r}, {err[:200]!r}")


def zones(net):
    """The reverse zones of a block, from ipaddress's own reverse pointers."""
    boundary = -(-net.prefixlen // 4) * 4
    labels = (128 - boundary) // 4 * 2  # the nibble labels and dots below the zone
    return [sub.network_address.reverse_pointer[labels:] for sub in net.subnets(new_prefix=boundary)]


def zones4(net):
    """IPv4 zones: the /8, /16 or /24 zones the block spans, or its RFC 2317 zone."""
    if net.prefixlen > 24:
        top = ip_network((int(net.network_address) >> 8 << 8, 24))
        return [f"{int(net.network_address) & 255}/{net.prefixlen}." + zones4(top)[0]]
    boundary = -(-net.prefixlen // 8) * 8
    labels = (32 - boundary) // 8
    return [".".join(s.network_address.reverse_pointer.split(".")[labels:]) for s in net.subnets(new_prefix=boundary)]


def host_span(net):
    if net.prefixlen >= 116:  # small enough to ask ipaddress for every host
        hosts = list(net.hosts())
        return hosts[0], hosts[-1], len(hosts)
    return next(iter(net.hosts())), net.broadcast_address, net.num_addresses - 1


def embedded(address):
    if address.ipv4_mapped or address.sixtofour:
        return str(address.ipv4_mapped or address.sixtofour)
    if address in N6("64:ff9b::/96"):
        return str(ipaddress.IPv4Address(int(address) & 0xFFFFFFFF))
    return str(address.teredo[1]) if address.teredo else None


def facts(address, prefix):
    net = N6(f"{address}/{prefix}", strict=False)
    first, last, hosts = host_span(net)
    return {"address": text6(address), "network": f"{text6(net.network_address)}/{prefix}", "prefix": prefix,
            "expanded": address.exploded, "first": text6(first), "last": text6(last), "hosts": hosts,
            "addresses": net.num_addresses, "count_64": 2 ** (64 - prefix) if prefix <= 64 else 0,
            "embedded_ipv4": embedded(address), "reverse": address.reverse_pointer, "zones": zones(net)}


HOSTS6 = [host_span(N6((0, p)))[2] for p in range(129)]
EMBEDDED = ["::ffff:192.0.2.1", "64:ff9b::c000:221", "2002:c000:204::1", "2001:0:4136:e378:8000:63bf:3fff:fdd2",
            "64:ff9b:1::c000:221", "2001:db8::c000:221"]


def random_address(rng):
    groups = [rng.choice([0, 0, 0, rng.randrange(1 << 16), rng.randrange(16)]) for _ in range(8)]
    return A6(":".join(f"{g:x}" for g in groups))


def check_text(run, failures):
    rng = random.Random(5952)
    cases = RFC5952 + [(a.exploded.upper() if i % 2 else str(a), text6(a))
                       for i, a in enumerate(random_address(rng) for _ in range(60))]
    for typed, written in cases:
        code, out, err = run([typed, "--format", "json"])
        got = json.loads(out)["address"] if code == 0 else err
        if got != written:
            failures.append(f"{typed} written as {got!r}, not {written!r}")


def check_facts(run, failures):
    rng = random.Random(128)
    for prefix in range(129):
        address = random_address(rng) if prefix % 3 else A6(rng.getrandbits(128))
        expected = facts(address, prefix)
        formats = FORMATS if prefix % 16 == 0 or prefix in (46, 127) else ("json",)
        check_records(run, failures, f"facts {address}/{prefix}", [f"{address}/{prefix}"], [expected], formats,
                      subset=True)
    for address in EMBEDDED:
        check_records(run, failures, f"facts of {address}", [address], [facts(A6(address), 128)], ("json", "text"),
                      subset=True)
    for prefix in range(33):
        net = ip_network((rng.getrandbits(32), prefix), strict=False)
        expected = {"reverse": net.network_address.reverse_pointer, "zones": zones4(net)}
        code, out, _ = run([str(net), "--format", "json"])
        got = json.loads(out) if code == 0 else {}
        if {k: got.get(k) for k in expected} != expected:
            failures.append(f"ipv4 reverse of {net}: {got}")
    for block, kind in KINDS:
        code, out, _ = run([block, "--format", "json"])
        if code or json.loads(out)["kind"] != kind:
            failures.append(f"kind of {block}: {out!r}")


def split_row(net, prefix, index):
    sub = N6((int(net.network_address) + (index << (128 - prefix)), prefix))
    first, last, _ = host_span(sub)
    return {"index": index, "network": text6(sub.network_address), "first": text6(first), "last": text6(last)}


def check_splits(run, failures):
    rng = random.Random(64)
    cases = [("2001:db8::/32", ["--prefix", "64"], 64), ("::/0", ["--prefix", "128"], 128),
             ("2001:db8:40::/42", ["--subnets", "5"], 45), ("fd00::/8", ["--hosts", "3"], 126),
             ("2001:db8::/120", ["--hosts", "2"], 127), ("::ffff:0:0/96", ["--prefix", "120"], 120),
             ("::/0", ["--subnets", str(2 ** 128)], 128), ("2001:db8::/48", ["--prefix", "48"], 48)]
    for block, sizing, prefix in cases:
        net = N6(block)
        last = 2 ** (prefix - net.prefixlen) - 1
        first_sub, last_sub = split_row(net, prefix, 0), split_row(net, prefix, last)
        report = {"network": f"{text6(net.network_address)}/{net.prefixlen}", "subnet_prefix": prefix, "subnets": last + 1,
                  "addresses": 2 ** (128 - prefix), "hosts": host_span(N6((0, prefix)))[2],
                  "first_subnet": f"{first_sub['network']}/{prefix}", "last_subnet": f"{last_sub['network']}/{prefix}"}
        check_records(run, failures, f"report {block} {sizing}", [block] + sizing, [report])
        for start in sorted({0, last // 2, max(last - 2, 0)}):
            rows = [split_row(net, prefix, i) for i in range(start, min(start + 3, last + 1))]
            check_records(run, failures, f"split {block} {sizing} from {start}",
                          [block] + sizing + ["--list", "--from", str(start), "--count", "3"], rows,
                          ("csv", "json") if start else FORMATS[1:])
        address = A6(int(net.network_address) + rng.randrange(net.num_addresses))
        index = (int(address) - int(net.network_address)) >> (128 - prefix)
        found = dict(split_row(net, prefix, index), page=1 if index == 0 else -(-index // 25))
        found = {k: found[k] for k in ("index", "page", "network", "first", "last")}
        check_records(run, failures, f"find {address} in {block}", [block] + sizing + ["--find", str(address)],
                      [found])
    # The last row and the last page of ::/0 into /128, at once.
    top = 2 ** 128 - 1
    code, out, _ = run(["::/0", "--prefix", "128", "--list", "--page", str(-(-top // 25)), "--format", "json"])
    rows = json.loads(out) if code == 0 else []
    if [r["index"] for r in rows] != list(range(top - top % 25 + 1, top + 1)) or rows[-1]["last"] != str(A6(top)):
        failures.append(f"last page of ::/0 into /128: {rows[-2:]}")


def check_vlsm(run, failures):
    rng = random.Random(48)
    for count in (1, 40, 500):
        parent = N6((0x20010DB8 << 96 | rng.randrange(1 << 16) << 80, 48))
        items = [(f"n{i}", rng.choice([rng.randrange(1, 1 << 20), f"/{rng.randrange(56, 129)}"]))
                 for i in range(count)]
        listing = "".join(f"{name} {size}\n" for name, size in items)
        # One plan names its block in its first line, and no BLOCK is given.
        block, listing = ([], f"block {parent}\n" + listing) if count == 40 else ([str(parent)], listing)
        code, out, err = run(block + ["--vlsm-file", "-", "--format", "json"], listing.encode())
        rows = json.loads(out) if code == 0 else []
        placed, free = rows[:count], rows[count:]
        problems = []
        for (name, size), row in zip(items, placed):
            net = N6(row["network"])
            wanted = 0 if str(size).startswith("/") else size
            hosts = host_span(net)[2]
            smallest = int(size[1:]) if wanted == 0 else max(p for p in range(129) if HOSTS6[p] >= wanted)
            if (row["name"], row["wanted"], row["usable"], net.prefixlen, row["first"], row["last"]) != \
                    (name, wanted, hosts, smallest, text6(host_span(net)[0]), text6(host_span(net)[1])):
                problems.append(row)
        blocks = sorted(N6(r["network"]) for r in rows)
        if not blocks or blocks[0].network_address != parent.network_address or blocks[-1].broadcast_address != \
                parent.broadcast_address or any(a.broadcast_address + 1 != b.network_address
                                                for a, b in zip(blocks, blocks[1:])):
            problems.append("the blocks do not tile the parent")
        if [N6(r["network"]) for r in free] != list(ipaddress.collapse_addresses(N6(r["network"]) for r in free)):
            problems.append("free space is not the fewest blocks")
        if code or err or problems or any(set(r) != {"name", "wanted", "usable", "network", "first", "last"}
                                          for r in rows):
            failures.append(f"ipv6 vlsm of {count}: exit {code}, {err!r}, {problems[:2]}")


def token(rng):
    if rng.randrange(2):
        base = 10 << 24 | rng.randrange(1 << 12) << 12
        if rng.randrange(3) == 0:
            return f"{ipaddress.IPv4Address(base)}-{ipaddress.IPv4Address(base + rng.randrange(1 << 12))}"
        prefix = rng.randrange(20, 33)
        return str(ip_network((base & ~((1 << (32 - prefix)) - 1), prefix)))
    base = 0x20010DB8 << 96 | rng.randrange(1 << 8) << 80 | rng.randrange(1 << 16) << 48
    if rng.randrange(3) == 0:
        return f"{A6(base)}-{A6(base + rng.randrange(1 << rng.choice((8, 40, 70))))}"
    net = N6((base, rng.randrange(40, 129)), strict=False)
    return text6(net.network_address) + f"/{net.prefixlen}"


def check_summaries(run, failures):
    rng = random.Random(23)
    for count in (1, 30, 3000):
        tokens = [token(rng) for _ in range(count)]
        nets = []
        for text in tokens:
            if "-" in text:
                nets += ipaddress.summarize_address_range(*map(ipaddress.ip_address, text.split("-")))
            else:
                nets.append(ip_network(text))
        merged = [n for v in (4, 6) for n in ipaddress.collapse_addresses(n for n in nets if n.version == v)]
        show = lambda a: text6(a) if a.version == 6 else str(a)  # noqa: E731
        expected = [{"network": show(n.network_address), "prefix": n.prefixlen, "first": show(n.network_address),
                     "last": show(n.broadcast_address), "addresses": n.num_addresses} for n in merged]
        stdin = "\n".join(", ".join(tokens[i:i + 5]) for i in range(0, count, 5)).encode()
        check_records(run, failures, f"mixed summary of {count}", ["--summarize", "-"], expected,
                      ("tsv", "csv", "json"), stdin)
        code, out, _ = run(["--summarize"], stdin)
        if out.decode().split() != [f"{r['network']}/{r['prefix']}" for r in expected]:
            failures.append(f"mixed summary of {count} as text: {out[:200]!r}")
    for stdin, message in [(b"::1-10.0.0.1", "both ends of a range must be of one family"),
                           (b"10.0.0.0/8\n2001:db8::1/64", "host bits set: the network is 2001:db8::/64"),
                           (b"::2-::1", "the range ends before it starts"),
                           (b"1::-2::x", "not a range of two IPv6 addresses")]:
        code, out, err = run(["--summarize"], stdin)
        line = stdin.count(b"\n") + 1
        token_text = stdin.decode().split("\n")[-1]
        if (code, out, err) != (2, b"", f"velkor: standard input: line {line}: '{token_text}': {message}\n".encode()):
            failures.append(f"summary refusal {stdin!r}: exit {code}, {err!r}")


def check_reading(run, failures):
    for token_text, message in BAD_BLOCKS:
        for args in ([token_text], [token_text, "--prefix", "64"]):
            code, out, err = run(args)
            if (code, out, err) != (2, b"", f"velkor: '{token_text}': {message}\n".encode()):
                failures.append(f"refusal of {args}: exit {code}, {out[:80]!r}, {err!r}")
    for typed, network in GOOD_IPV4:
        code, out, _ = run([typed, "--format", "json"])
        expected = str(ip_network(typed, strict=False))
        if code or json.loads(out)["network"] != network or network != expected:
            failures.append(f"{typed} read as {out[:120]!r}, ipaddress reads {expected}")
    for args, message in [(["::1", "--prefix", "120"], "--prefix '120': a /120 sub-network is larger than "
                           "the block ::1/128"),
                          (["10.0.0.0/24", "--prefix", "26", "--find", "::1"], "::1 is outside 10.0.0.0/24"),
                          (["::/64", "--prefix", "66", "--find", "10.0.0.1"], "10.0.0.1 is outside ::/64"),
                          (["::/64", "--prefix", "66", "--find", "::1:0:0:0:1"], "::1:0:0:0:1 is outside ::/64"),
                          (["::/64", "--prefix", "66", "--find", "::x"], "--find '::x': not an IPv6 address"),
                          (["2001:db8::/32", "--mask", "255.0.0.0"],
                           "--mask '255.0.0.0': an IPv6 block has no masks: give --prefix"),
                          (["::/0", "--subnets", str(2 ** 128 + 1)],
                           f"--subnets '{2 ** 128 + 1}': a /0 block holds at most {2 ** 128} sub-networks"),
                          (["1.2.3.4/32", "--subnets", "2"], "--subnets '2': a /32 block holds at most 1 sub-network"),
                          (["::/0", "--hosts", str(2 ** 128)], f"--hosts '{2 ** 128}': more hosts than an IPv6 "
                           "block holds"),
                          (["::/120", "--vlsm", "a:/129"], "item 1: 'a:/129': the prefix must be /0 to /128"),
                          (["::/120", "--vlsm", "a:/64"], "needs 18446744073709551616 addresses, the block holds 256"),
                          (["::/120", "--vlsm", "a:256"], "needs 512 addresses, the block holds 256")]:
        code, out, err = run(args)
        if (code, out, err) != (2, b"", f"velkor: {message}\n".encode()):
            failures.append(f"refusal of {args}: exit {code}, {err!r}")
    for block, kind in [("192.0.0.0/24", "mixed"), ("192.0.0.9", "public"), ("192.0.0.10/32", "public"),
                        ("192.0.0.8/32", "reserved"), ("192.0.0.8/30", "mixed")]:
        code, out, _ = run([block, "--format", "json"])
        if code or json.loads(out)["kind"] != kind:
            failures.append(f"kind of {block}: {out!r}")


def check_ipv6(run, failures):
    for check in (check_text, check_facts, check_splits, check_vlsm, check_summaries, check_reading):
        check(run, failures)
