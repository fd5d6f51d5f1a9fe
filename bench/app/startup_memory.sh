#!/usr/bin/env bash
# startup_memory.sh [BUILD_DIR] [RUNS]
# Measures the Windows program under Wine in a private X server: the time from
# starting the process until its main window is visible, and the memory of the
# running process (resident set and peak, from /proc). Prints one line per
# run and the median. BUILD_DIR is an x86_64 Windows build (default build/win64).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$here/build/win64}" && pwd)
runs=${2:-5}
exe=$build/app/velkor-subnetting.exe
title='Velkor - IPv4 Subnetting'

if [ -z "${VELKOR_BENCH_INNER:-}" ]; then
  [ -f "$exe" ] || { echo "no program at $exe" >&2; exit 1; }
  export VELKOR_BENCH_INNER=1
  exec "$here/scripts/with-wine-display.sh" "$build" "$0" "$build" "$runs"
fi

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
status_kb() { awk -v key="$1:" '$1 == key { print $2 }' "/proc/$2/status"; }

# Closes the program with Alt+F4 and waits for it, as a person would.
close_program() {
  local window=$1 pid=$2
  xdotool windowfocus --sync "$window" key --clearmodifiers alt+F4
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid" || true; return 0; }
    sleep 0.1
  done
  kill "$pid"
  wait "$pid" || true
}

startups=()
printf '%-4s %12s %10s %10s\n' run 'start (ms)' 'RSS (KiB)' 'peak (KiB)'
for run in $(seq "$runs"); do
  start=$(now_ms)
  wine "$exe" &
  pid=$!
  window=""
  while [ -z "$window" ]; do
    window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.01
    if [ $(( $(now_ms) - start )) -gt 30000 ]; then
      echo "the main window did not appear" >&2
      kill "$pid"
      exit 1
    fi
  done
  elapsed=$(( $(now_ms) - start ))
  startups+=("$elapsed")
  # The process of $pid is the program itself once the Wine loader has started it.
  grep -q velkor-subnetting "/proc/$pid/cmdline" || { echo "pid $pid is not the program" >&2; exit 1; }
  printf '%-4s %12s %10s %10s\n' "$run" "$elapsed" "$(status_kb VmRSS "$pid")" "$(status_kb VmHWM "$pid")"
  close_program "$window" "$pid"
done
median=$(printf '%s\n' "${startups[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
echo "median start-up: $median ms over $runs runs"
