#!/usr/bin/env bash
# Starts the Windows program under Wine and Xvfb, with arguments it ignores, and uses the whole
# window from the keyboard, mouse and clipboard as the Linux build's end-to-end test does; closes
# it and checks the exit code.
# Usage: smoke.sh PROGRAM.exe WINE
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/../e2e/driver.sh"
program=$1
launcher=$2
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
start_x
wine_prefix "$launcher"  # before the clock starts
# The frame at 0,0: the client area sits inside its border and caption (4,23 with Wine's metrics).
expected_geometry="[1-9],[1-4][0-9] 375x342"
check_window() { drive_window "$1"; }
program_args=(--help /S -style windows)  # ignored
# Wine lists every module it loads: with no screen reader asking, the program never loads the
# accessibility runtime.
calculate_with WINEDEBUG=-all,+loaddll 2> >(tee "$work/modules" | grep -v ':loaddll:' >&2)
grep -q 'user32\.dll' "$work/modules" || fail "Wine listed no modules"
if grep -i 'oleacc\.dll' "$work/modules"; then fail "oleacc.dll loaded with no screen reader"; fi
# Wine's server outlives the program for a while and writes into the prefix: end it first.
for server in wineserver /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver; do
  if command -v "$server" >/dev/null; then "$server" -k 2>/dev/null || true; "$server" -w 2>/dev/null || true; break; fi
done
echo "1 passed, 0 failed"
