#!/usr/bin/env bash
# Creates the Wine prefix named by WINEPREFIX once. Wine brings its own Tahoma;
# the report's "Courier New" is mapped to Liberation Mono, a monospaced font
# of the same metrics, so the report's columns stay aligned.
set -euo pipefail
stamp=$WINEPREFIX/.velkor-ready
[ -f "$stamp" ] && exit 0
wine wineboot --init
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /t REG_SZ /d 'Liberation Mono' /f
# With no window manager, Wine waits two seconds for one whenever a managed
# window is hidden or closed; unmanaged windows close at once.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
wineserver -w
touch "$stamp"
