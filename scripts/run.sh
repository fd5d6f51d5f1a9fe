#!/usr/bin/env bash
# Builds the program for x86_64 Windows and runs it under Wine.
# With a display (DISPLAY set) the program opens there and runs until it is
# closed. Without one it runs in a private X server: the main window is saved
# as build/win64/main-window.png, the path is printed and the program is closed.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VELKOR_BUILD:-$here/build}
jobs=${VELKOR_JOBS:-2}
win64=$build/win64
exe=$win64/app/velkor-subnetting.exe
title='Velkor - IPv4 Subnetting'

# Runs inside scripts/with-wine-display.sh: start, screenshot, close.
screenshot_run() {
  local shot=$win64/main-window.png window="" pid
  wine "$exe" &
  pid=$!
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.1
  done
  if [ -z "$window" ]; then
    echo "run: the main window did not appear" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # Wine: with no window manager Wine draws the frame and caption itself, so the
  # X window is the 450 x 432 client area plus the frame (equal left, right and
  # bottom borders). The middle of the report area, client (225, 286), turns
  # black once the window has been painted.
  local border=$(((WIDTH - 450) / 2))
  local probe="$((border + 225)),$((HEIGHT - 432 - border + 286))"
  local painted=no
  for _ in $(seq 50); do
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
    if [ "$(convert "$shot" -format "%[fx:p{$probe}.intensity == 0]" info:)" = 1 ]; then
      painted=yes
      break
    fi
    sleep 0.1
  done
  [ $painted = yes ] && echo "$shot" || echo "run: the main window was not painted" >&2
  xdotool windowfocus --sync "$window" key --clearmodifiers alt+F4
  for _ in $(seq 150); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "run: the program did not close" >&2
    kill "$pid"
    return 1
  fi
  wait "$pid"
  [ $painted = yes ]
}

if [ "${1:-}" = --screenshot ]; then
  screenshot_run
  exit
fi

"$here/scripts/setup.sh"
# setup.sh builds PCRE and libpng into $build/deps; use those, not the default folder.
cmake -S "$here" -B "$win64" -DVELKOR_WERROR=ON \
  -DVELKOR_DEPS_PREFIX="$build/deps/x86_64-w64-mingw32" \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-x86_64-w64-mingw32.cmake" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$here/scripts/wine-run" >/dev/null
cmake --build "$win64" -j"$jobs" --target velkor-subnetting

if [ -z "${DISPLAY:-}" ]; then
  exec "$here/scripts/with-wine-display.sh" "$win64" "$0" --screenshot
fi
export WINEPREFIX=$win64/wineprefix WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
"$here/scripts/wine-prefix.sh" managed
exec wine "$exe"
