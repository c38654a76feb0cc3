#!/usr/bin/env bash
# Checks a Windows executable from outside: machine, GUI subsystem and the Windows version it
# needs, the stack protector and fortified calls linked in, no structured exception handler on
# i686, and the icon, manifest and version resources in German (Germany). pe_hardening.py checks
# the hardening flags and the imports.
# Usage: pe_check.sh PROGRAM.exe PROCESSOR   (i686 or x86_64)
set -euo pipefail
exe=$1
case $2 in
  i686) format=pei-i386 tools=i686-w64-mingw32 ;;
  x86_64) format=pei-x86-64 tools=x86_64-w64-mingw32 ;;
  *) echo "FAIL: unknown processor $2" >&2; exit 1 ;;
esac
fail() { echo "FAIL: $*" >&2; exit 1; }

headers=$("$tools-objdump" -p "$exe")
grep -q "file format $format" <<<"$headers" || fail "not $format"
grep -qE 'Subsystem[[:space:]]+00000002' <<<"$headers" || fail "not a GUI-subsystem program"
# Windows Vista (6.0) is the oldest the imports allow (GetTickCount64): the headers say so.
for field in MajorOSystemVersion MajorSubsystemVersion; do
  grep -qE "^$field[[:space:]]+6$" <<<"$headers" || fail "$field is not 6: $(grep "^$field" <<<"$headers")"
done
for field in MinorOSystemVersion MinorSubsystemVersion; do
  grep -qE "^$field[[:space:]]+0$" <<<"$headers" || fail "$field is not 0"
done
# The stack protector's and the fortified calls' failure reports are linked in: both are used.
grep -qa 'stack smashing detected' "$exe" || fail "no stack protector"
grep -qa 'buffer overflow detected' "$exe" || fail "no fortified C library call"
# On i686, nothing registers a structured exception handler (the head of the chain at fs:0), as
# the image's NO_SEH flag promises.
if [ "$2" = i686 ] && "$tools-objdump" -d "$exe" | grep -qE '%fs:0x0\b|%fs:\(,'; then
  fail "code reads or writes the exception-handler chain at fs:0"
fi

resources=$("$tools-windres" -i "$exe" -O rc)
grep -q '^"MAINICON" 14' <<<"$resources" || fail "no icon group MAINICON"
grep -q '^1 24' <<<"$resources" || fail "no manifest (type 24, id 1)"
grep -q '^1 VERSIONINFO' <<<"$resources" || fail "no version resource"
[ "$(grep -c '^LANGUAGE' <<<"$resources")" -ge 1 ] || fail "no language"
grep '^LANGUAGE' <<<"$resources" | grep -qv '^LANGUAGE 7, 1$' && fail "a resource not in language 1031"
echo "1 passed, 0 failed"
