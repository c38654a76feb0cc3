#!/usr/bin/env bash
# Validates the AppStream metainfo. The one finding accepted is url-homepage-missing: the
# program has no web site, and an address that leads nowhere would be worse than none.
# Usage: metainfo_check.sh APPSTREAMCLI METAINFO
set -uo pipefail
out=$("$1" validate --no-net "$2" 2>&1)
code=$?
echo "$out"
findings=$(grep -E '^[EW]: ' <<<"$out" | grep -vE '^W: [^ ]+: url-homepage-missing( |$)')
[ -z "$findings" ] || { echo "FAIL: errors or warnings beyond url-homepage-missing"; exit 1; }
if [ "$code" != 0 ] && ! grep -qE '^W: [^ ]+: url-homepage-missing' <<<"$out"; then
  echo "FAIL: appstreamcli exited with $code"
  exit 1
fi
echo "1 passed, 0 failed"
