#!/usr/bin/env bash
# Makes the README's pictures of the window from the real programs, under a private X server:
# the Linux window in a light and a dark KDE colour scheme, and the Windows program under Wine in
# Wine's default colours. Writes docs/window-linux-light.png, docs/window-linux-dark.png and
# docs/window-windows.png (each the window's client area). Builds what it needs first.
# Usage: scripts/window-pictures.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target quarn-ev
cmake -S . -B build-win-x86_64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake >/dev/null
cmake --build build-win-x86_64 --target quarn-ev
source tests/e2e/lib.sh
mkdir -p docs
start_x
# The client area of window $1, cut from the screen, to docs/$2.png.
picture() {
  local origin size
  read -r origin size <<<"$(geometry "$1")"
  [ "$size" = 375x342 ] || fail "client area $size, want 375x342"
  xwd -root -silent -out "$work/screen.xwd"
  /usr/bin/python3 - "$work/screen.xwd" "${origin%,*}" "${origin#*,}" "docs/$2.png" <<'PY'
import sys
sys.path.insert(0, "tests/windows")
from screen_colours import CLIENT, read_xwd, write_png
path, x, y, out = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
_, _, pixel = read_xwd(path)
write_png(out, CLIENT[0], CLIENT[1], lambda cx, cy: pixel(x + cx, y + cy))
PY
  echo "docs/$2.png"
}

start_portal org.freedesktop.appearance contrast 0
for scheme in light dark; do
  kde_colour_scheme "$scheme"
  XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 build/bin/quarn-ev &
  app_pid=$!
  w=$(find_window) || fail "no Linux window"
  sleep 1
  picture "$w" "window-linux-$scheme"
  close_and_wait "$w"
done

export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
/usr/lib/wine/wine64 build-win-x86_64/bin/quarn-ev.exe &
app_pid=$!
w=$(find_window) || fail "no Windows window"
sleep 2  # the first paint comes from the message loop
picture "$w" window-windows
close_and_wait "$w"
