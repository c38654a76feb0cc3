#!/usr/bin/env bash
# Builds the Debian package as the README does and checks it: lintian finds no error and no
# warning, the dependencies, the contents, the hardening of the installed program, the
# checksums beside the packages; `cmake --install` carries the licence too.
# Usage: deb_package.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"
(cd "$work" && cpack -G DEB --config "$1/CPackConfig.cmake" -B "$work/pkg" >/dev/null)
deb=$(ls "$work"/pkg/quarn-ev_*.deb)
[ -f "$(ls "$work"/pkg/quarn-ev-dbgsym_*.ddeb)" ] || fail "no separate debug-symbol package"
(cd "$work/pkg" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"
[ "$(cut -d' ' -f3 "$work/pkg/SHA256SUMS" | tr '\n' ' ')" = \
  "quarn-ev-dbgsym_1.0.0_amd64.ddeb quarn-ev_1.0.0_amd64.deb " ] || fail "SHA256SUMS: $(cat "$work/pkg/SHA256SUMS")"

lintian --no-tag-display-limit "$deb" >"$work/lintian" 2>&1 || true
if grep -E '^[EW]: ' "$work/lintian"; then fail "lintian reports errors or warnings"; fi

[ "$(dpkg-deb -f "$deb" Section)" = utils ] || fail "Section: $(dpkg-deb -f "$deb" Section)"
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] || fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-liberation2; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

dpkg -x "$deb" "$work/root"
files=(usr/bin/quarn-ev usr/share/applications/quarn-ev.desktop
  usr/share/metainfo/org.quarn.EvCalculator.metainfo.xml usr/share/man/man1/quarn-ev.1.gz
  usr/share/doc/quarn-ev/copyright usr/share/doc/quarn-ev/changelog.gz
  usr/share/icons/hicolor/scalable/apps/quarn-ev.svg)
for size in 16 24 32 48 64 128 256; do
  files+=("usr/share/icons/hicolor/${size}x$size/apps/quarn-ev.png")
done
for file in "${files[@]}"; do
  [ -f "$work/root/$file" ] || fail "package lacks /$file"
done
grep -q '^License: Expat' "$work/root/usr/share/doc/quarn-ev/copyright" || fail "copyright: no MIT licence"

# Hardening of the installed program, as Debian's own tool checks it: PIE, stack protector,
# fortified calls, full RELRO, immediate binding and control-flow enforcement; and stripped.
program="$work/root/usr/bin/quarn-ev"
file "$program" | grep -q ', stripped' || fail "not stripped: $(file "$program")"
report=$(hardening-check "$program" 2>&1 || true)
echo "$report"
required=("Position Independent Executable" "Stack protected" "Fortify Source functions"
  "Read-only relocations" "Immediate binding")
# Control-flow enforcement needs every object linked in to carry it, the C library's start files
# too: where those lack it (Debian 12 and 13 here), no program built here can have it. Branch
# protection is an arm64 feature.
g++ -fcf-protection -x c++ -o "$work/probe" - <<<'int main() {}'
if readelf -n "$work/probe" | grep -q 'x86 feature: IBT, SHSTK'; then
  required+=("Control flow integrity")
fi
[ "$(dpkg --print-architecture)" != arm64 ] || required+=("Branch Protection")
for feature in "${required[@]}"; do
  grep -q "^ $feature: yes" <<<"$report" || fail "hardening-check: $feature is not yes"
done

cmake --install "$1" --prefix "$work/plain" >/dev/null
cmp -s "$work/plain/share/doc/quarn-ev/LICENSE" "$(dirname "$0")/../../LICENSE" ||
  fail "cmake --install does not install the licence"
echo "1 passed, 0 failed"
