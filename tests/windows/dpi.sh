#!/usr/bin/env bash
# Runs the Win32 window tests under Wine twice in one prefix: at 96 DPI and at 144 DPI.
# Usage: dpi.sh WINE win32_window_tests.exe
source "$(dirname "$0")/../e2e/lib.sh"
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
start_x
"$1" wineboot --init >/dev/null 2>&1 || true
code=0
for dpi in 96 144; do
  "$1" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  # Newer Wine reads the DPI once per session: end the session so that the next one reads it.
  "$1" wineboot --shutdown >/dev/null 2>&1 || true
  for server in wineserver /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver; do
    if command -v "$server" >/dev/null; then "$server" -w 2>/dev/null || true; break; fi
  done
  echo "== at $dpi DPI"
  QUARN_EXPECTED_DPI=$dpi "$1" "$2" || code=1
done
exit "$code"
