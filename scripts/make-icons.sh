#!/usr/bin/env bash
# Renders app/quarn-ev.svg to the PNG sizes the desktop installs and to the raw RGBA pixels the
# window icon is made from (read without an image decoder at start-up). Needs rsvg-convert
# (librsvg2-bin). The results are committed; run again after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../app"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" quarn-ev.svg -o "icons/quarn-ev-$size.png"
done
for size in 16 24 32 48 64; do
  ../scripts/png-to-rgba.py "icons/quarn-ev-$size.png" >"icons/quarn-ev-$size.rgba"
done
