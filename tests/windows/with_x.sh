#!/usr/bin/env bash
# Runs a Windows test program under Wine with a private X server, as Wine needs one for windows.
# Usage: with_x.sh WINE PROGRAM.exe
source "$(dirname "$0")/../e2e/lib.sh"
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
start_x
wine_prefix "$1"
code=0
"$1" "$2" || code=$?
exit "$code"
