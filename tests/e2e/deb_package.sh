#!/usr/bin/env bash
# Builds the Debian package and checks its dependencies and contents.
# Usage: deb_package.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
(cd "$work" && cpack -G DEB --config "$1/CPackConfig.cmake" -B "$work/pkg" >/dev/null)
deb=$(ls "$work"/pkg/quarn-ev_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-liberation2; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
dpkg -x "$deb" "$work/root"
for file in usr/bin/quarn-ev usr/share/applications/quarn-ev.desktop \
  usr/share/icons/hicolor/32x32/apps/quarn-ev.png usr/share/icons/hicolor/scalable/apps/quarn-ev.svg \
  usr/share/metainfo/org.quarn.EvCalculator.metainfo.xml; do
  [ -f "$work/root/$file" ] || fail "package lacks /$file"
done
echo "1 passed, 0 failed"
