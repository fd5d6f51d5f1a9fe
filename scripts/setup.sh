#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12 (run as root),
# then builds the MinGW copies of PCRE and libpng into the build folder.
# Safe to run again: installed packages and built libraries are kept.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELKOR_BUILD:-$here/build}

packages=(
  cmake make g++ pkg-config clang-format dpkg-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64 libz-mingw-w64-dev
  wine wine64 xvfb xdotool xauth x11-utils imagemagick fonts-liberation
  libpcre3-dev libpng-dev zlib1g-dev googletest libgtest-dev libbenchmark-dev
  python3 python3-netaddr sipcalc clang libclang-rt-14-dev nsis e2fsprogs
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

src_list=/etc/apt/sources.list.d/velkor-deb-src.sources
need_update=0
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  cat > "$src_list" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
  apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

for triplet in x86_64-w64-mingw32 i686-w64-mingw32; do
  "$here/scripts/build-mingw-deps.sh" "$triplet" "$build/deps"
done
