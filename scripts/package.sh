#!/usr/bin/env bash
# Builds the release for 32-bit and 64-bit Windows (optimised, stripped) and
# writes into dist/:
#   velkor-VERSION-win32.zip, velkor-VERSION-win64.zip  the two programs and README.txt
#   velkor-VERSION-setup.exe                            installer carrying both builds
#   SHA256SUMS
# The tests also get build/release/setup-amd64-test.exe: the same installer
# script as a 64-bit program, since this machine runs no 32-bit code.
# package.sh --zips-only stops after the zips.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELKOR_BUILD:-$here/build}
jobs=${VELKOR_JOBS:-2}
dist=$here/dist
release=$build/release
version=$(cat "$here/VERSION")

"$here/scripts/setup.sh"
rm -rf "$dist"
mkdir -p "$dist" "$release"

# The README with the command-line program's own usage text and CRLF line ends.
write_readme() {  # write_readme OUT
  cmake -S "$here" -B "$release/native" -DCMAKE_BUILD_TYPE=Release -DVELKOR_TESTS=OFF >/dev/null
  cmake --build "$release/native" -j"$jobs" --target velkor >/dev/null
  python3 - "$here/release/README.txt.in" "$1" "$version" "$("$release/native/cli/velkor" --help)" <<'PY'
import sys
template, out, version, usage = sys.argv[1:]
text = open(template).read().replace("@VERSION@", version).replace("@USAGE@", usage)
open(out, "w", newline="\r\n").write(text)
PY
}

# Builds one target into $release/ARCH and stages its files in $release/ARCH/stage.
stage_build() {  # stage_build ARCH TRIPLET
  local dir=$release/$1 triplet=$2
  cmake -S "$here" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DVELKOR_TESTS=OFF -DVELKOR_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$triplet.cmake" \
    -DVELKOR_DEPS_PREFIX="$build/deps/$triplet" >/dev/null
  cmake --build "$dir" -j"$jobs" --target velkor-subnetting velkor >/dev/null
  rm -rf "$dir/stage"
  mkdir -p "$dir/stage"
  "$triplet-strip" -o "$dir/stage/velkor-subnetting.exe" "$dir/app/velkor-subnetting.exe"
  "$triplet-strip" -o "$dir/stage/velkor.exe" "$dir/cli/velkor.exe"
  cp "$release/README.txt" "$dir/stage/"
  "$here/scripts/check-imports.sh" "$dir/stage/"*.exe
  (cd "$dir/stage" && python3 -m zipfile -c "$dist/velkor-$version-$1.zip" \
    velkor-subnetting.exe velkor.exe README.txt)
  echo "package: $dist/velkor-$version-$1.zip"
}

make_installer() {  # make_installer OUT [makensis options]
  local out=$1
  shift
  makensis -V2 -DVERSION="$version" -DOUTFILE="$out" \
    -DWIN32DIR="$release/win32/stage" -DWIN64DIR="$release/win64/stage" "$@" \
    "$here/release/velkor.nsi"
}

write_readme "$release/README.txt"
stage_build win32 i686-w64-mingw32
stage_build win64 x86_64-w64-mingw32
[ "${1:-}" = --zips-only ] && exit 0

make_installer "$dist/velkor-$version-setup.exe"
make_installer "$release/setup-amd64-test.exe" -DAMD64
echo "package: $dist/velkor-$version-setup.exe"
(cd "$dist" && sha256sum "velkor-$version-win32.zip" "velkor-$version-win64.zip" \
  "velkor-$version-setup.exe" >SHA256SUMS)
echo "package: $dist/SHA256SUMS"
