#!/usr/bin/env bash
# Start-up of the 32-bit Windows program under Wine against the least Win32 program with the same
# window (bench/MinimalWin32Window.cpp), built twice: with the program's manifest (themed common
# controls, version 6, as the program must have) and without (classic controls). Time until the
# window is mapped and peak memory, medians of interleaved runs in one warm prefix under a private
# Xvfb, and their ratios.
# Usage: bench/windows.sh [RUNS]   (default 10; run it twice to see the spread)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
scripts/install-deps.sh
wine=/usr/lib/wine/wine
[ -x "$wine" ] || { echo "bench/windows.sh: needs 32-bit Wine, which this machine cannot run"; exit 1; }

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARN_BENCH=ON >/dev/null
cmake --build build-bench --target startup_bench
cmake -S . -B build-win-i686 -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARN_BENCH=ON \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-i686.cmake >/dev/null
cmake --build build-win-i686 --target quarn-ev minimal_win32_window_themed \
  minimal_win32_window_classic

source tests/e2e/lib.sh  # a private Xvfb (start_x) and a scratch folder ($work)
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; cleanup' EXIT
start_x
"$wine" wineboot --init >/dev/null 2>&1
# A running wineserver keeps the prefix warm between runs, as on a desktop where Wine is in use.
/usr/lib/wine/wineserver -p 2>/dev/null || true
echo "== start-up under 32-bit Wine, $runs interleaved runs after a warm-up"
build-bench/bin/startup_bench "$runs" "quarn-ev=$wine build-win-i686/bin/quarn-ev.exe" \
  "minimal-themed=$wine build-win-i686/bin/minimal_win32_window_themed.exe" \
  "minimal-classic=$wine build-win-i686/bin/minimal_win32_window_classic.exe"
