# Sourced by the benchmark scripts: velkor_program [PATH] prints the velkor
# program to time, PATH when given, else one built optimised and without
# sanitizers (which distort the figures) in $VELKOR_BENCH_BUILD (default
# build/bench-cli).
velkor_program() {
  local root velkor build
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  if [ -n "${1:-}" ]; then
    velkor=$1
  else
    build=${VELKOR_BENCH_BUILD:-$root/build/bench-cli}
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELKOR_TESTS=OFF >/dev/null
    cmake --build "$build" -j2 --target velkor >/dev/null
    velkor=$build/cli/velkor
  fi
  [ -x "$velkor" ] || { echo "no velkor program at $velkor" >&2; return 1; }
  echo "$velkor"
}
