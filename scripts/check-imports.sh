#!/usr/bin/env bash
# check-imports.sh EXE...
# Fails unless every DLL the programs import is one that every Windows has, so
# that they run on a machine with nothing else installed.
set -euo pipefail
system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|msimg32|uxtheme|advapi32|version|msvcrt|ws2_32|wsock32|winmm|riched20|riched32|api-ms-win-crt-[a-z0-9-]+|api-ms-win-core-[a-z0-9-]+)\.dll$'
status=0
for exe in "$@"; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  [ -n "$dlls" ] || { echo "$exe: no imports found" >&2; status=1; }
  while read -r dll; do
    [ -z "$dll" ] && continue
    if ! printf '%s\n' "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$system_dlls"; then
      echo "$exe imports $dll, which Windows does not bring" >&2
      status=1
    fi
  done <<<"$dlls"
done
exit $status
