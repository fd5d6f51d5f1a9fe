#!/usr/bin/env bash
# Sets up the machine, builds all three configurations and runs every test:
# natively (with AddressSanitizer and UBSan) and as Windows programs under Wine
# in a private Xvfb display. The 32-bit Windows build is compiled and linked
# only, as this machine cannot run 32-bit code.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELKOR_BUILD:-$here/build}
jobs=${VELKOR_JOBS:-2}

"$here/scripts/setup.sh"

configure() {  # configure DIR [cmake args...]
  local dir=$1
  shift
  cmake -S "$here" -B "$dir" -DVELKOR_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

echo "== native build and tests"
configure "$build/native" -DVELKOR_SANITIZE=ON -DVELKOR_BENCHMARKS=ON
ctest --test-dir "$build/native" --output-on-failure --no-tests=error

echo "== fuzzing (clang, libFuzzer; a crash fails the run)"
CC=clang CXX=clang++ cmake -S "$here" -B "$build/fuzz" -DVELKOR_WERROR=ON -DVELKOR_FUZZ=ON >/dev/null
cmake --build "$build/fuzz" -j"$jobs" --target velkor_fuzzers
for harness in text calculation patterns cli images classless sets; do
  # A scratch copy of the seeds, so the checked-in corpus only changes by hand.
  work="$build/fuzz/run/$harness"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/artifacts"
  cp "$here/tests/fuzz/corpus/$harness/"* "$work/corpus/"
  "$build/fuzz/tests/fuzz/fuzz_$harness" -max_total_time=15 -timeout=5 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" "$work/corpus" >"$work/log" 2>&1 ||
    { tail -n 40 "$work/log"; echo "fuzz_$harness failed; the input is in $work/artifacts"; exit 1; }
  grep -h '^stat::number_of_executed_units' "$work/log" | sed "s/^/fuzz_$harness: /"
done

echo "== Windows i686 build (compile and link only)"
configure "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686-w64-mingw32.cmake" \
  -DVELKOR_DEPS_PREFIX="$build/deps/i686-w64-mingw32"

echo "== Windows x86_64 build and tests under Wine"
configure "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-x86_64-w64-mingw32.cmake" \
  -DVELKOR_DEPS_PREFIX="$build/deps/x86_64-w64-mingw32" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$here/scripts/wine-run"
"$here/scripts/with-wine-display.sh" "$build/win64" \
  ctest --test-dir "$build/win64" --output-on-failure --no-tests=error

echo "== release: the zips and the installer, used under Wine as a user would"
"$here/scripts/package.sh"
"$here/scripts/with-wine-display.sh" "$build/win64" python3 "$here/tests/release/run_release_tests.py" \
  "$here/dist" "$build/release/setup-amd64-test.exe" "$build/win64/tests/release/start_program.exe"
