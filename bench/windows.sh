#!/usr/bin/env bash
# Start-up of the Windows program under Wine against the least Win32 program with the same window
# (bench/MinimalWin32Window.cpp), built twice: with the program's manifest (themed common
# controls, version 6, as the program must have) and without (classic controls). Time until the
# window is mapped and peak memory, medians of interleaved runs in one warm prefix under a private
# Xvfb, and their ratios. The 32-bit build under 32-bit Wine where this machine executes 32-bit
# code natively; elsewhere the 64-bit build under 64-bit Wine, since an emulated start-up says
# nothing about the program.
# Usage: bench/windows.sh [RUNS]   (default 10; run it twice to see the spread)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
scripts/install-deps.sh
if scripts/can-run-32bit.sh >/dev/null && [ -x /usr/lib/wine/wine ]; then
  arch=i686 wine=/usr/lib/wine/wine server=/usr/lib/wine/wineserver
else
  arch=x86_64 wine=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64
fi

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARN_BENCH=ON >/dev/null
cmake --build build-bench --target startup_bench
cmake -S . -B "build-win-$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARN_BENCH=ON \
  -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/mingw-w64-$arch.cmake" >/dev/null
cmake --build "build-win-$arch" --target quarn-ev minimal_win32_window_themed \
  minimal_win32_window_classic

source tests/e2e/lib.sh  # a private Xvfb (start_x) and a scratch folder ($work)
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap '"$server" -k 2>/dev/null || true; cleanup' EXIT
start_x
"$wine" wineboot --init >/dev/null 2>&1
# A running wineserver keeps the prefix warm between runs, as on a desktop where Wine is in use.
"$server" -p 2>/dev/null || true
echo "== start-up of the $arch build under $wine, $runs interleaved runs after a warm-up"
bin="build-win-$arch/bin"
build-bench/bin/startup_bench "$runs" "quarn-ev=$wine $bin/quarn-ev.exe" \
  "minimal-themed=$wine $bin/minimal_win32_window_themed.exe" \
  "minimal-classic=$wine $bin/minimal_win32_window_classic.exe"
