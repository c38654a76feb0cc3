#!/usr/bin/env bash
# Runs the Win32 window tests under Wine twice in one prefix: at 96 DPI and at 144 DPI.
# Usage: dpi.sh WINE win32_window_tests.exe
source "$(dirname "$0")/../e2e/lib.sh"
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
start_x
wine_prefix "$1"
code=0
for dpi in 96 144; do
  wine_set_dpi "$1" "$dpi"
  echo "== at $dpi DPI"
  QUARN_EXPECTED_DPI=$dpi "$1" "$2" || code=1
done
exit "$code"
