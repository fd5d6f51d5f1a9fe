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
  # Wine: with no window manager the X window is the client area alone.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # The report area is black once the window has been painted.
  for _ in $(seq 50); do
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
    [ "$(convert "$shot" -format '%[pixel:p{20,190}]' info:)" = black ] && break
    sleep 0.1
  done
  echo "$shot"
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
}

if [ "${1:-}" = --screenshot ]; then
  screenshot_run
  exit
fi

"$here/scripts/setup.sh"
cmake -S "$here" -B "$win64" -DVELKOR_WERROR=ON \
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
