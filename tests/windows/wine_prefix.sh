#!/usr/bin/env bash
# The Wine prefix the Windows tests start from, made once per build: each test copies it instead
# of creating its own, which takes 10 to 20 s of processor time (twice that emulated).
# Usage: wine_prefix.sh WINE TEMPLATE [COPY]
#   makes TEMPLATE with WINE unless it is there (whole or not at all), then a copy of it at COPY
#   unless that is there.
# Sourced, it only defines copy_wine_prefix.

# copy_wine_prefix TEMPLATE DIR: the program folders, which Wine only reads, are hard links to
# the template's; the registry and everything else a test may change are copies.
copy_wine_prefix() {
  local shared=(system32 syswow64 winsxs) excluded=() folder
  for folder in "${shared[@]}"; do excluded+=(--exclude="./drive_c/windows/$folder"); done
  mkdir -p "$2"
  tar -C "$1" "${excluded[@]}" -cf - . | tar -C "$2" -xf -
  for folder in "${shared[@]}"; do
    [ ! -d "$1/drive_c/windows/$folder" ] || cp -al "$1/drive_c/windows/$folder" "$2/drive_c/windows/"
  done
}
[ "${BASH_SOURCE[0]}" = "$0" ] || return 0

set -euo pipefail
wine=$1 template=$2
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -d "$template" ]; then
  rm -rf "$template.partial"
  WINEPREFIX="$template.partial" "$wine" wineboot --init >/dev/null 2>&1 || true
  for server in wineserver /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver; do
    if command -v "$server" >/dev/null; then
      WINEPREFIX="$template.partial" "$server" -w 2>/dev/null || true
      break
    fi
  done
  [ -f "$template.partial/system.reg" ] || { echo "FAIL: wineboot made no prefix" >&2; exit 1; }
  mv "$template.partial" "$template"
fi
[ -z "${3:-}" ] || [ -d "$3" ] || copy_wine_prefix "$template" "$3"
