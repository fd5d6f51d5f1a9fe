#!/usr/bin/env bash
# Creates the Wine prefix named by WINEPREFIX once. The report's "Courier New"
# and the About window's "Tahoma" are mapped to installed fonts of the same
# kind, so columns stay aligned (Liberation Mono is monospaced).
set -euo pipefail
stamp=$WINEPREFIX/.velkor-ready
[ -f "$stamp" ] && exit 0
wine wineboot --init
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /t REG_SZ /d 'Liberation Mono' /f
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Tahoma' /t REG_SZ /d 'Liberation Sans' /f
wineserver -w
touch "$stamp"
