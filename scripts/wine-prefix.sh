#!/usr/bin/env bash
# wine-prefix.sh [managed|unmanaged] [LOGPIXELS]
# Creates the Wine prefix named by WINEPREFIX once. Wine brings its own Tahoma;
# the report's "Courier New" is mapped to Liberation Mono, a monospaced font
# of the same metrics, so the report's columns stay aligned.
# "unmanaged" (the default, for the private displays of the tests) keeps Wine
# from waiting two seconds for a window manager whenever a window is hidden or
# closed; "managed" lets the window manager of a real desktop frame the windows.
# LOGPIXELS sets the screen's DPI (96 = 100 %, 144 = 150 %).
# Wine: every window and every program gets its DPI from LogPixels under
# HKCU\Control Panel\Desktop, read when a program starts; there is one DPI for
# all monitors and it never changes while a program runs.
set -euo pipefail
mode=${1:-unmanaged}
dpi=${2:-}
stamp=$WINEPREFIX/.velkor-ready
if [ ! -f "$stamp" ]; then
  wine wineboot --init
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /t REG_SZ /d 'Liberation Mono' /f
  wineserver -w
  touch "$stamp"
fi
managed=N
[ "$mode" = managed ] && managed=Y
if ! grep -qs "^\"Managed\"=\"$managed\"" "$WINEPREFIX/user.reg"; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$managed" /f
  wineserver -w
fi
if [ -n "$dpi" ] && ! grep -qs "^\"LogPixels\"=dword:$(printf %08x "$dpi")" "$WINEPREFIX/user.reg"; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
  wineserver -w
fi
