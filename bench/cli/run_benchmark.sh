#!/usr/bin/env bash
# Lists all 2,097,152 sub-networks of 10.0.0.0 with mask 255.255.255.248 with
# velkor, sipcalc (network and broadcast only) and Python's ipaddress module,
# each to a file, and prints wall time, peak memory and the ratios.
#
# usage: bench/cli/run_benchmark.sh [PATH_TO_VELKOR]
# Without a path it builds velkor optimised and without sanitizers in
# $VELKOR_BENCH_BUILD (default build/bench-cli); the test builds carry
# sanitizers, which distort the figures.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/velkor_program.sh"
velkor=$(velkor_program "${1:-}")

if [ ! -x /usr/bin/time ]; then
  apt-get install -y time >/dev/null
fi
command -v sipcalc >/dev/null || { echo "sipcalc is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# measure NAME COMMAND...: runs COMMAND with stdout to $work/NAME.out and
# records wall seconds and peak resident kilobytes in $work/NAME.time.
measure() {
  local name=$1
  shift
  /usr/bin/time -v -o "$work/$name.time" "$@" >"$work/$name.out"
}
seconds() {  # wall clock of "h:mm:ss" or "m:ss.ss" in seconds
  sed -n 's/.*Elapsed (wall clock) time.*: //p' "$work/$1.time" |
    awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; printf "%.3f", s }'
}
peak_kb() { sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/$1.time"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }

velkor_args=(--class A --network 10.0.0.0 --mask 255.255.255.248 --list)
measure velkor_text "$velkor" "${velkor_args[@]}"
measure velkor_tsv "$velkor" "${velkor_args[@]}" --format tsv
measure sipcalc sipcalc -s 29 10.0.0.0/8
measure python python3 "$here/ipaddress_list.py" 10.0.0.0/8 29

# The listings must agree before their times mean anything.
cmp -s "$work/velkor_tsv.out" "$work/python.out" ||
  { echo "velkor and ipaddress listings differ" >&2; exit 1; }
rows=$(($(wc -l <"$work/velkor_tsv.out") - 1))
[ "$rows" -eq 2097152 ] || { echo "velkor listed $rows rows, not 2097152" >&2; exit 1; }

printf '%-34s %10s %12s %12s\n' "program (2,097,152 sub-networks)" "wall s" "peak KB" "output MB"
for name in velkor_text velkor_tsv sipcalc python; do
  printf '%-34s %10s %12s %12s\n' "$name" "$(seconds $name)" "$(peak_kb $name)" \
    "$(awk -v b="$(wc -c <"$work/$name.out")" 'BEGIN { printf "%.1f", b / 1048576 }')"
done
echo
echo "sipcalc (2 columns) / velkor text (5 columns): $(ratio "$(seconds sipcalc)" "$(seconds velkor_text)")x (target >= 3)"
echo "ipaddress / velkor tsv:                        $(ratio "$(seconds python)" "$(seconds velkor_tsv)")x (target >= 100)"
echo "velkor peak memory:                            $(peak_kb velkor_text) KB (target < 5120)"
