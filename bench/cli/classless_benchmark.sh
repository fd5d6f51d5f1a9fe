#!/usr/bin/env bash
# Times velkor's classless runs and prints the figures:
# - the listing of 0.0.0.0/0 split into /29 (536,870,912 rows) against the
#   classful 10.0.0.0/8 split into /29 (2,097,152 rows), per row, with peak memory;
# - summarizing 1,000,000 random /24 to /32 blocks against Python's
#   collapse_addresses on the same file (the summaries must agree);
# - VLSM of 10^4, 10^5 and 10^6 items, per item.
#
# usage: bench/cli/classless_benchmark.sh [PATH_TO_VELKOR]
# Without a path it builds velkor optimised, without sanitizers, in
# $VELKOR_BENCH_BUILD (default build/bench-cli).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/velkor_program.sh"
velkor=$(velkor_program "${1:-}")
[ -x /usr/bin/time ] || apt-get install -y time >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# measure NAME COMMAND...: wall seconds (to the nanosecond, as short runs
# need) and peak KB in $work/NAME.time; stdout to $OUT (default /dev/null).
measure() {
  local name=$1 start end
  shift
  start=$(date +%s.%N)
  /usr/bin/time -f "%M" -o "$work/$name.peak" "$@" >"${OUT:-/dev/null}"
  end=$(date +%s.%N)
  echo "$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }') $(tail -n1 "$work/$name.peak")" \
    >"$work/$name.time"
}
seconds() { cut -d' ' -f1 "$work/$1.time"; }
peak_kb() { cut -d' ' -f2 "$work/$1.time"; }
per() { awk -v s="$1" -v n="$2" -v u="$3" 'BEGIN { printf "%.2f", s * u / n }'; }

echo "== listing (tsv to /dev/null)"
measure classless "$velkor" 0.0.0.0/0 --prefix 29 --list --all --format tsv
# The classful listing is short: twenty runs for a steadier figure.
measure classful bash -c "for i in \$(seq 20); do '$velkor' --class A --mask 255.255.255.248 \
  --list --all --format tsv; done >/dev/null"
rows=$((536870912))
classless_ns=$(per "$(seconds classless)" "$rows" 1e9)
classful_ns=$(per "$(seconds classful)" $((2097152 * 20)) 1e9)
printf '%-44s %8s s %8s ns/row %8s KB\n' "0.0.0.0/0 into /29 (536,870,912 rows)" \
  "$(seconds classless)" "$classless_ns" "$(peak_kb classless)"
printf '%-44s %8s s %8s ns/row %8s KB\n' "class A /8 into /29 (2,097,152 rows, x20)" \
  "$(seconds classful)" "$classful_ns" "$(peak_kb classful)"
echo "classless / classful per row: $(awk -v a="$classless_ns" -v b="$classful_ns" \
  'BEGIN { printf "%.3f", a / b }') (target 0.9 to 1.1)"

echo "== summarize 1,000,000 random /24 to /32 blocks"
python3 - "$work/blocks.txt" <<'PY'
import random, sys
rng = random.Random(1)
with open(sys.argv[1], "w") as out:
    for _ in range(1_000_000):
        prefix = rng.randrange(24, 33)
        network = rng.getrandbits(32) & ~((1 << (32 - prefix)) - 1) & 0xFFFFFFFF
        out.write(f"{network >> 24}.{network >> 16 & 255}.{network >> 8 & 255}.{network & 255}/{prefix}\n")
PY
OUT=$work/summarize.out measure summarize "$velkor" --summarize "$work/blocks.txt"
OUT=$work/collapse.out measure collapse python3 -c '
import ipaddress, sys
nets = [ipaddress.ip_network(line.strip()) for line in open(sys.argv[1])]
print("\n".join(str(n) for n in ipaddress.collapse_addresses(nets)))' "$work/blocks.txt"
cmp -s "$work/summarize.out" "$work/collapse.out" ||
  { echo "velkor and collapse_addresses differ" >&2; exit 1; }
printf 'velkor --summarize: %s s, %s KB; collapse_addresses: %s s; speed-up %sx (target >= 10)\n' \
  "$(seconds summarize)" "$(peak_kb summarize)" "$(seconds collapse)" \
  "$(awk -v a="$(seconds collapse)" -v b="$(seconds summarize)" 'BEGIN { printf "%.1f", a / b }')"

echo "== VLSM in 0.0.0.0/0 (tsv to /dev/null; the best of three runs, less the"
echo "   time of the same run with no item, which is the program's start)"
# fastest NAME COMMAND...: the best wall time of three runs in $work/NAME.time.
fastest() {
  local name=$1
  shift
  for run in 1 2 3; do
    measure "$name$run" "$@"
  done
  sort -n "$work/$name"[123].time | head -n1 >"$work/$name.time"
}
: >"$work/items0.txt"
fastest vlsm0 "$velkor" 0.0.0.0/0 --vlsm-file "$work/items0.txt" --format tsv
for count in 10000 100000 1000000; do
  python3 -c '
import random, sys
rng = random.Random(int(sys.argv[1]))
print("\n".join(f"n{i} {rng.randrange(1, 200)}" for i in range(int(sys.argv[1]))))' "$count" \
    >"$work/items$count.txt"
  fastest "vlsm$count" "$velkor" 0.0.0.0/0 --vlsm-file "$work/items$count.txt" --format tsv
  items_s=$(awk -v a="$(seconds "vlsm$count")" -v b="$(seconds vlsm0)" 'BEGIN { printf "%.4f", a - b }')
  printf '%8d items: %6s s, %6s us/item, %8s KB\n' "$count" "$(seconds "vlsm$count")" \
    "$(per "$items_s" "$count" 1e6)" "$(peak_kb "vlsm$count")"
done
