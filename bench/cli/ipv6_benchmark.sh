#!/usr/bin/env bash
# Times velkor's IPv6 runs and prints the figures:
# - the TSV listing of 2001:db8::/40 into /64 (16,777,216 rows) against a
#   plain C loop that writes the same bytes (ipv6_listing_loop.c), in turns,
#   CPU seconds and peak memory of each;
# - --find and --from at the end of ::/0 into /128 against a /48 into /64;
# - summarizing 1,000,000 random IPv6 prefixes of /32 to /64, some nested
#   and some adjacent, against Python's collapse_addresses (equal output);
# - with a second velkor (an earlier build), the IPv4 listings and the
#   IPv4 summary of classless_benchmark.sh's file by both, in turns.
#
# usage: bench/cli/ipv6_benchmark.sh [PATH_TO_VELKOR [PATH_TO_EARLIER_VELKOR]]
# Without a path it builds velkor optimised in $VELKOR_BENCH_BUILD (default
# build/bench-cli).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/velkor_program.sh"
velkor=$(velkor_program "${1:-}")
earlier=${2:-}
[ -x /usr/bin/time ] || apt-get install -y time >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/figures"
cc -O2 -o "$work/c-loop" "$here/ipv6_listing_loop.c"

# cpu NAME COMMAND...: appends "cpu-seconds peak-KB" of one run to the
# figures of NAME.
cpu() {
  local name=$1
  shift
  /usr/bin/time -f "%U %S %M" -o "$work/last" "$@" >"${OUT:-/dev/null}"
  awk '{ printf "%.3f %d\n", $1 + $2, $3 }' "$work/last" >>"$work/figures/$name"
}
median() {
  cut -d' ' -f"${2:-1}" "$work/figures/$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
ratio() { awk -v a="$(median "$1")" -v b="$(median "$2")" 'BEGIN { printf "%.3f", a / b }'; }

echo "== 2001:db8::/40 into /64, tsv to /dev/null (five runs each, in turns)"
cmp -s <("$velkor" 2001:db8::/40 --prefix 64 --list --all --format tsv) <("$work/c-loop") ||
  { echo "velkor and the C loop differ" >&2; exit 1; }
for run in 1 2 3 4 5; do
  cpu listing "$velkor" 2001:db8::/40 --prefix 64 --list --all --format tsv
  cpu loop "$work/c-loop"
done
printf 'velkor %s s (%s KB), C loop %s s (%s KB): %sx the loop'"'"'s CPU time (target <= 1.1)\n' \
  "$(median listing)" "$(median listing 2)" "$(median loop)" "$(median loop 2)" "$(ratio listing loop)"

echo "== --find and --from: the end of ::/0 into /128 against a /48 into /64"
echo "   (CPU seconds of 500 runs, five times each, in turns)"
# runs NAME ARGS...: 500 runs of velkor ARGS as one figure.
runs() {
  local name=$1
  shift
  cpu "$name" bash -c 'for i in $(seq 500); do "$0" "$@"; done >/dev/null' "$velkor" "$@"
}
for run in 1 2 3 4 5; do
  runs huge ::/0 --prefix 128 --find ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff
  runs small 2001:db8::/48 --prefix 64 --find 2001:db8:0:ffff::1
  runs hugefrom ::/0 --prefix 128 --list --from 340282366920938463463374607431768211430
  runs smallfrom 2001:db8::/48 --prefix 64 --list --from 65510
done
printf -- '--find: %s s against %s s (%sx); --from (26 rows): %s s against %s s (%sx)\n' \
  "$(median huge)" "$(median small)" "$(ratio huge small)" "$(median hugefrom)" \
  "$(median smallfrom)" "$(ratio hugefrom smallfrom)"

echo "== summarize 1,000,000 random IPv6 /32 to /64 prefixes"
python3 - "$work/prefixes.txt" <<'PY'
import ipaddress, random, sys
rng = random.Random(6)
made = []
with open(sys.argv[1], "w") as out:
    for _ in range(1_000_000):
        kind = rng.randrange(4)
        if made and kind == 0:  # nested in an earlier one
            net = rng.choice(made)
            net = next(net.subnets(new_prefix=min(64, net.prefixlen + rng.randrange(1, 8))))
        elif made and kind == 1:  # the next block of the same size
            net = rng.choice(made)
            net = ipaddress.IPv6Network((int(net.network_address) + net.num_addresses) % 2 ** 128, net.prefixlen)
        else:
            prefix = rng.randrange(32, 65)
            net = ipaddress.IPv6Network(((0x2001 << 112 | rng.getrandbits(96) << 16) >> (128 - prefix) << (128 - prefix), prefix))
        made.append(net)
        out.write(f"{net}\n")
PY
OUT=$work/summary.out cpu summarize "$velkor" --summarize "$work/prefixes.txt"
OUT=$work/collapse.out cpu collapse python3 -c '
import ipaddress, sys
nets = [ipaddress.ip_network(line.strip()) for line in open(sys.argv[1])]
print("\n".join(str(n) for n in ipaddress.collapse_addresses(nets)))' "$work/prefixes.txt"
cmp -s "$work/summary.out" "$work/collapse.out" || { echo "velkor and collapse_addresses differ" >&2; exit 1; }
printf 'velkor --summarize: %s s, %s KB; collapse_addresses: %s s; speed-up %sx (target >= 50)\n' \
  "$(median summarize)" "$(median summarize 2)" "$(median collapse)" "$(ratio collapse summarize)"

[ -n "$earlier" ] || exit 0
echo "== against $earlier (five runs each, in turns)"
python3 - "$work/blocks.txt" <<'PY'
import random, sys
rng = random.Random(1)
with open(sys.argv[1], "w") as out:
    for _ in range(1_000_000):
        prefix = rng.randrange(24, 33)
        network = rng.getrandbits(32) & ~((1 << (32 - prefix)) - 1) & 0xFFFFFFFF
        out.write(f"{network >> 24}.{network >> 16 & 255}.{network >> 8 & 255}.{network & 255}/{prefix}\n")
PY
for run in 1 2 3 4 5; do
  for side in now before; do
    program=$velkor
    [ $side = before ] && program=$earlier
    # The classful listing is short: twenty runs in one figure.
    cpu "classful-$side" bash -c "for i in \$(seq 20); do '$program' --class A \
      --mask 255.255.255.248 --list --all --format tsv; done >/dev/null"
    cpu "classless-$side" "$program" 0.0.0.0/0 --prefix 24 --list --all --format tsv
    cpu "summary4-$side" "$program" --summarize "$work/blocks.txt"
  done
done
for what in classful classless summary4; do
  printf '%-10s now %s s, before %s s: %s\n' "$what" "$(median "$what-now")" "$(median "$what-before")" \
    "$(ratio "$what-now" "$what-before")"
done
