#!/usr/bin/env bash
# Times velkor's set operations and prints the figures:
# - merging (--summarize), --common and --except of two 1,000,000-line lists
#   of random IPv4 /16 to /32 blocks and ranges, against iprange's merge,
#   --common and --except on the same files, in turns (CPU seconds and peak
#   memory, medians of five), and against netaddr's IPSet (one run each);
# - the same operations on two 1,000,000-line IPv6 lists against netaddr;
# - --free and --next /24 --count 1000 in 10.0.0.0/8 given 1,000,000 used
#   entries.
# Every pair of outputs must be equal (iprange writes a /32 bare).
#
# usage: bench/cli/sets_benchmark.sh [PATH_TO_VELKOR]
# Without a path it builds velkor optimised in $VELKOR_BENCH_BUILD (default
# build/bench-cli). netaddr needs Debian's python3 (python3-netaddr).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
if [ $# -ge 1 ]; then
  velkor=$1
else
  build=${VELKOR_BENCH_BUILD:-$root/build/bench-cli}
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELKOR_TESTS=OFF >/dev/null
  cmake --build "$build" -j2 --target velkor >/dev/null
  velkor=$build/cli/velkor
fi
for tool in /usr/bin/time:time /usr/bin/iprange:iprange /usr/lib/python3/dist-packages/netaddr:python3-netaddr; do
  [ -e "${tool%%:*}" ] || apt-get install -y "${tool##*:}" >/dev/null
done
python=/usr/bin/python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/figures"

# cpu NAME COMMAND...: appends "cpu-seconds peak-KB" of one run to NAME's figures.
cpu() {
  local name=$1
  shift
  /usr/bin/time -f "%U %S %M" -o "$work/last" "$@" >"${OUT:-/dev/null}"
  awk '{ printf "%.3f %d\n", $1 + $2, $3 }' "$work/last" >>"$work/figures/$name"
}
median() {
  cut -d' ' -f"${2:-1}" "$work/figures/$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
ratio() { awk -v a="$(median "$1")" -v b="$(median "$2")" 'BEGIN { printf "%.1f", a / b }'; }
same() {  # same A B: the outputs agree, iprange's bare /32s read as blocks
  cmp -s <(sed 's|^\([^/]*\)$|\1/32|' "$1") "$2" || { echo "$1 and $2 differ" >&2; exit 1; }
}

"$python" - "$work" <<'PY'
import ipaddress, random, sys
work = sys.argv[1]
def ipv4(rng):
    if rng.random() < 0.5:
        prefix = rng.randrange(16, 33)
        return str(ipaddress.IPv4Network((rng.getrandbits(32) >> (32 - prefix) << (32 - prefix), prefix)))
    first = rng.getrandbits(32)
    last = min(first + rng.randrange(1 << rng.randrange(17)), 2 ** 32 - 1)
    return f"{ipaddress.IPv4Address(first)}-{ipaddress.IPv4Address(last)}"
def ipv6(rng):
    base = 0x20010DB8 << 96
    if rng.random() < 0.5:
        prefix = rng.randrange(48, 129)
        return str(ipaddress.IPv6Network((base | rng.getrandbits(96) >> (128 - prefix) << (128 - prefix), prefix)))
    first = base | rng.getrandbits(96)
    last = min(first + rng.randrange(1 << rng.randrange(81)), base | (1 << 96) - 1)
    return f"{ipaddress.IPv6Address(first)}-{ipaddress.IPv6Address(last)}"
for name, make, seed in (("a4", ipv4, 1), ("b4", ipv4, 2), ("a6", ipv6, 3), ("b6", ipv6, 4)):
    rng = random.Random(seed)
    with open(f"{work}/{name}.txt", "w") as out:
        out.write("\n".join(make(rng) for _ in range(1_000_000)) + "\n")
# Used entries: /25 to /32 blocks and short ranges in 60% of the /24s of 10.0.0.0/8.
rng = random.Random(5)
rows = rng.sample(range(65536), 39322)
with open(f"{work}/used.txt", "w") as out:
    for _ in range(1_000_000):
        at = (10 << 24) + rng.choice(rows) * 256
        if rng.random() < 0.5:
            prefix = rng.randrange(25, 33)
            out.write(f"{ipaddress.IPv4Network((at + rng.randrange(256) >> (32 - prefix) << (32 - prefix), prefix))}\n")
        else:
            first = at + rng.randrange(200)
            out.write(f"{ipaddress.IPv4Address(first)}-{ipaddress.IPv4Address(first + rng.randrange(56))}\n")
PY

cat >"$work/ipset.py" <<'PY'
import ipaddress, sys, netaddr
def read(name):
    entries = []
    for line in open(name):
        ends = line.strip().split("-")
        entries.append(netaddr.IPNetwork(ends[0]) if len(ends) == 1 else netaddr.IPRange(*ends))
    return netaddr.IPSet(entries)
operation, first, *rest = sys.argv[1:]
result = read(first)
for name in rest:
    result = result & read(name) if operation == "common" else result - read(name)
for cidr in result.iter_cidrs():
    kind = ipaddress.IPv4Network if cidr.version == 4 else ipaddress.IPv6Network
    print(kind((cidr.first, cidr.prefixlen)))
PY

echo "== 1,000,000-line IPv4 lists: velkor against iprange (five runs each, in turns)"
for run in 1 2 3 4 5; do
  OUT=$work/v-merge cpu v-merge "$velkor" --summarize "$work/a4.txt"
  OUT=$work/i-merge cpu i-merge iprange "$work/a4.txt"
  OUT=$work/v-common cpu v-common "$velkor" --common "$work/a4.txt" "$work/b4.txt"
  OUT=$work/i-common cpu i-common iprange "$work/a4.txt" --common "$work/b4.txt"
  OUT=$work/v-except cpu v-except "$velkor" --except "$work/a4.txt" "$work/b4.txt"
  OUT=$work/i-except cpu i-except iprange "$work/a4.txt" --except "$work/b4.txt"
done
for what in merge common except; do
  same "$work/i-$what" "$work/v-$what"
  printf '%-7s velkor %6s s %6s KB, iprange %6s s %6s KB: %sx faster (target >= 2), memory %s of iprange'"'"'s\n' \
    "$what" "$(median "v-$what")" "$(median "v-$what" 2)" "$(median "i-$what")" "$(median "i-$what" 2)" \
    "$(ratio "i-$what" "v-$what")" "$(awk -v a="$(median "v-$what" 2)" -v b="$(median "i-$what" 2)" \
      'BEGIN { printf "%.2f", a / b }')"
done

echo "== the same lists, IPv4 and IPv6: netaddr's IPSet (one run each)"
for family in 4 6; do
  if [ $family = 6 ]; then
    for what in merge common except; do : >"$work/figures/v-$what"; done
    OUT=$work/v-merge cpu v-merge "$velkor" --summarize "$work/a6.txt"
    OUT=$work/v-common cpu v-common "$velkor" --common "$work/a6.txt" "$work/b6.txt"
    OUT=$work/v-except cpu v-except "$velkor" --except "$work/a6.txt" "$work/b6.txt"
  fi
  OUT=$work/n-merge cpu "n$family-merge" "$python" "$work/ipset.py" common "$work/a$family.txt"
  OUT=$work/n-common cpu "n$family-common" "$python" "$work/ipset.py" common "$work/a$family.txt" "$work/b$family.txt"
  OUT=$work/n-except cpu "n$family-except" "$python" "$work/ipset.py" except "$work/a$family.txt" "$work/b$family.txt"
  target=$([ $family = 4 ] && echo 20 || echo 50)
  for what in merge common except; do
    same "$work/n-$what" "$work/v-$what"
    printf 'IPv%s %-7s velkor %6s s, netaddr %7s s: %sx faster (target >= %s)\n' "$family" "$what" \
      "$(median "v-$what")" "$(median "n$family-$what")" "$(ratio "n$family-$what" "v-$what")" "$target"
  done
done

echo "== 10.0.0.0/8 given 1,000,000 used entries (wall seconds, best of three)"
for run in 1 2 3; do
  for what in free next; do
    args=(--free "$work/used.txt")
    [ $what = next ] && args=(--next /24 --used "$work/used.txt" --count 1000)
    start=$(date +%s.%N)
    OUT=$work/$what cpu "$what" "$velkor" 10.0.0.0/8 "${args[@]}"
    echo "$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.3f", b - a }')" >>"$work/figures/$what-wall"
  done
done
printf -- '--free: %s blocks, %s s (%s KB); --next /24 --count 1000: %s blocks, %s s (target < 1 s each)\n' \
  "$(($(wc -l <"$work/free") - 1))" "$(sort -n "$work/figures/free-wall" | head -n1)" "$(median free 2)" \
  "$(wc -l <"$work/next")" "$(sort -n "$work/figures/next-wall" | head -n1)"
