#!/usr/bin/env bash
# Builds the Debian package as the README does and checks it: lintian finds no error and no
# warning, the dependencies, the contents, the hardening of the installed program, the
# checksums beside the packages; the packaged program calculates the worked example (under
# $QUARN_EMULATOR for another processor); `cmake --install` carries the licence too.
# Usage: deb_package.sh BUILD_DIR   ($QUARN_DEB_ARCH: the package's architecture, $QUARN_CXX: the
# compiler of its program; by default this machine's)
source "$(dirname "$0")/lib.sh"
(cd "$work" && cpack -G DEB --config "$1/CPackConfig.cmake" -B "$work/pkg" >/dev/null)
arch=${QUARN_DEB_ARCH:-$(dpkg --print-architecture)}
deb="$work/pkg/quarn-ev_1.0.0_$arch.deb"
# The package and its debug-symbol package, for this architecture, with their checksums.
(cd "$work/pkg" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"
[ "$(cut -d' ' -f3 "$work/pkg/SHA256SUMS" | tr '\n' ' ')" = \
  "quarn-ev-dbgsym_1.0.0_$arch.ddeb quarn-ev_1.0.0_$arch.deb " ] || fail "SHA256SUMS: $(cat "$work/pkg/SHA256SUMS")"

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
# These files and no others, on every architecture (lintian's overrides aside).
want=$(printf '%s\n' "${files[@]}" | sort)
got=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub(/^\.\//, "", $6); print $6}' |
  grep -v '^usr/share/lintian/' | sort)
[ "$got" = "$want" ] || fail "the package's files differ: $(diff <(echo "$want") <(echo "$got"))"
grep -q '^License: Expat' "$work/root/usr/share/doc/quarn-ev/copyright" || fail "copyright: no MIT licence"

# Hardening of the installed program, as Debian's own tool checks it: PIE, stack protector,
# fortified calls, full RELRO, immediate binding and control-flow enforcement; and stripped.
program="$work/root/usr/bin/quarn-ev"
file "$program" | grep -q ', stripped' || fail "not stripped: $(file "$program")"
report=$(hardening-check "$program" 2>&1 || true)
echo "$report"
required=("Position Independent Executable" "Stack protected" "Fortify Source functions"
  "Read-only relocations" "Immediate binding")
# Control-flow enforcement (x86) and branch protection (arm64) need every object linked in to
# carry them, the C library's start files too: where those lack them (Debian 12 and 13 for x86,
# Debian 12 for arm64), no program built here can have them.
case $arch in
  amd64 | i386) protection=(-fcf-protection 'x86 feature: IBT, SHSTK' "Control flow integrity") ;;
  arm64) protection=(-mbranch-protection=standard 'AArch64 feature: BTI, PAC' "Branch Protection") ;;
  *) protection=() ;;
esac
if [ "${#protection[@]}" -gt 0 ]; then
  "${QUARN_CXX:-g++}" "${protection[0]}" -x c++ -o "$work/probe" - <<<'int main() {}'
  if readelf -n "$work/probe" | grep -q "${protection[1]}"; then required+=("${protection[2]}"); fi
fi
for feature in "${required[@]}"; do
  grep -q "^ $feature: yes" <<<"$report" || fail "hardening-check: $feature is not yes"
done

start_x
program=$(emulated "$program")
calculate_with

cmake --install "$1" --prefix "$work/plain" >/dev/null
cmp -s "$work/plain/share/doc/quarn-ev/LICENSE" "$(dirname "$0")/../../LICENSE" ||
  fail "cmake --install does not install the licence"
echo "1 passed, 0 failed"
