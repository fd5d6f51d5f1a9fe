#!/usr/bin/env bash
# with-wine-display.sh BUILD_DIR COMMAND...
# Runs COMMAND with a private Xvfb display and the Wine prefix BUILD_DIR/wineprefix,
# ready for Windows programs: the prefix is created once, the fonts the program
# asks for are mapped, and wineserver is running so no test waits for Wine's
# background services. Everything started here is stopped afterwards.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
shift

export WINEPREFIX=$build/wineprefix
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko: the programs use neither, and there is no network to fetch them.
export WINEDLLOVERRIDES="mscoree,mshtml="

display=""
for n in $(seq 90 140); do
  if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then display=:$n; break; fi
done
[ -n "$display" ] || { echo "no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
  wait "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

# Wine: Debian's wine64 loads at a fixed address with no preloader, and the
# kernel puts its heap anywhere in the 1 GB after it; about one start in 3,000
# the heap lands on 0x7ffe0000, where Wine maps the shared user data, and the
# start fails (exit code 1, nothing printed). Everything from here runs without
# randomization where the system allows it: the heap then follows the loader.
fixed_layout=()
if setarch "$(uname -m)" -R true 2>/dev/null; then fixed_layout=(setarch "$(uname -m)" -R); fi

"${fixed_layout[@]}" "$here/wine-prefix.sh" </dev/null >/dev/null 2>&1
wineserver -p </dev/null >/dev/null 2>&1
"${fixed_layout[@]}" wine wineboot </dev/null >/dev/null 2>&1

"${fixed_layout[@]}" "$@"
