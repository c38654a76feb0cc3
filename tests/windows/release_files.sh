#!/usr/bin/env bash
# The Windows release's files, read without running them: the zip holds LICENSE, README.md and
# the program, in name order, with fixed times and permissions; its LICENSE agrees with the
# source's, the Debian copyright file and the metainfo; SHA256SUMS beside the packages matches
# the zip and the installer; the installer is built for the program's architecture, declares DPI
# awareness and carries the program's icon.
# Usage: release_files.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null)
zip=$(ls "$work"/pkg/quarn-ev-*-windows-*.zip)
listing=$(/usr/bin/python3 - "$zip" <<'PY'
import sys, zipfile
for entry in zipfile.ZipFile(sys.argv[1]).infolist():
    print(entry.filename, oct(entry.external_attr >> 16), entry.date_time)
PY
)
echo "$listing"
[ "$(cut -d' ' -f1 <<<"$listing" | tr '\n' ' ')" = "LICENSE README.md quarn-ev.exe " ] ||
  fail "the zip's entries"
[ "$(cut -d' ' -f2 <<<"$listing" | tr '\n' ' ')" = "0o100644 0o100644 0o100755 " ] ||
  fail "the zip's permissions"
[ "$(cut -d' ' -f3- <<<"$listing" | sort -u | wc -l)" = 1 ] || fail "the zip's entries differ in time"
/usr/bin/python3 "$source/tests/app/licence_check.py" "$source/LICENSE" "$source/app/doc/copyright" \
  "$source/app/org.quarn.EvCalculator.metainfo.xml" "$zip" >/dev/null || fail "licences disagree"
expected=$(basename "$zip")
if command -v makensis >/dev/null; then expected="$expected $(basename "${zip%.zip}")-setup.exe"; fi
[ "$(cut -d' ' -f3 "$work/pkg/SHA256SUMS" | sort | tr '\n' ' ')" = "$(tr ' ' '\n' <<<"$expected" | sort | tr '\n' ' ')" ] ||
  fail "SHA256SUMS lists: $(cat "$work/pkg/SHA256SUMS")"
(cd "$work/pkg" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"
if command -v makensis >/dev/null; then
  arch=${zip%.zip}
  /usr/bin/python3 "$source/tests/windows/installer_pe.py" "${zip%.zip}-setup.exe" \
    "${arch##*-windows-}" "$source/app/quarn-ev.ico" || fail "the installer"
fi
echo "1 passed, 0 failed"
