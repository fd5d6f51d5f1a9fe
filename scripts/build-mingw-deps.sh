#!/usr/bin/env bash
# Builds static PCRE (classic 8-bit interface) and libpng for one MinGW target
# from Debian's source packages: build-mingw-deps.sh TRIPLET DEPS_DIR
# The result lands in DEPS_DIR/TRIPLET and is reused while its stamp exists.
set -euo pipefail
triplet=$1
deps=$2
here=$(cd "$(dirname "$0")/.." && pwd)
prefix=$deps/$triplet
stamp=$prefix/.built
[ -f "$stamp" ] && exit 0

# Fetches a Debian source package, newest listed version first; a version the
# archive no longer serves (an old security upload) falls back to the next one.
fetch_source() {
  local pkg=$1 dir=$deps/src/$1
  [ -d "$dir" ] && return 0
  mkdir -p "$deps/src/download-$pkg"
  (
    cd "$deps/src/download-$pkg"
    for v in $(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -rV | uniq); do
      rm -f ./*
      if apt-get source -qq --download-only "$pkg=$v" >/dev/null 2>&1; then
        dpkg-source -x --skip-debianization ./*.dsc "$dir" >/dev/null 2>&1 ||
          dpkg-source -x ./*.dsc "$dir" >/dev/null
        exit 0
      fi
    done
    echo "cannot fetch the source of $pkg" >&2
    exit 1
  )
}

fetch_source pcre3
fetch_source libpng1.6

toolchain=$here/cmake/mingw-$triplet.cmake
common=(-G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -Wno-dev)

echo "deps: building PCRE and libpng for $triplet"
cmake -S "$deps/src/pcre3" -B "$deps/build-$triplet/pcre" "${common[@]}" \
  -DPCRE_BUILD_PCRECPP=OFF -DPCRE_BUILD_PCREGREP=OFF -DPCRE_BUILD_TESTS=OFF \
  -DPCRE_SUPPORT_UTF=ON >/dev/null
cmake --build "$deps/build-$triplet/pcre" --target install -j2 >/dev/null

cmake -S "$deps/src/libpng1.6" -B "$deps/build-$triplet/png" "${common[@]}" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF >/dev/null
cmake --build "$deps/build-$triplet/png" --target install -j2 >/dev/null

touch "$stamp"
