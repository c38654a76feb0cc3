#!/usr/bin/env bash
# Builds the release artifacts of the work tree's tracked files twice and checks that they are
# the same bytes: the Debian packages for this machine and for arm64 with their debug-symbol
# packages, both Windows zips and installers, and the COMMIT and SHA256SUMS beside them, as the
# release step (scripts/release.sh) makes them without keys. The
# two builds differ in everything that must not matter: the clone's and the build's directory,
# the time, the umask, the locale and the time zone. On a difference it names the artifact and
# shows where it differs (diffoscope).
# Usage: scripts/check-reproducible.sh [--keep DIR]   (QUARN_SKIP_WINDOWS=1 leaves Windows out,
# QUARN_SKIP_ARM64=1 arm64)
#   --keep DIR  builds in DIR/one and DIR/two and keeps them: a later release step of the same
#               commit given `--work DIR/one` then only packs and signs.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = --keep ]; then
  work=$(realpath -m "$2")
  rm -rf "$work"
  mkdir -p "$work"
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
# The tracked files as they are, committed or not: HEAD when nothing is changed.
revision=$(git -C "$repo" stash create)
revision=${revision:-$(git -C "$repo" rev-parse HEAD)}

# build DIR: the release step, unsigned, with its clone and builds in DIR and the release in DIR/out.
build() {
  env -u QUARN_GPG_KEY -u QUARN_SIGN_PKCS12 -u QUARN_SIGNATURES_FROM "$repo/scripts/release.sh" --revision "$revision" \
    --work "$1" "$1/out" >/dev/null
}

start=$(date +%s)
echo "== first build: umask 022, C.UTF-8, UTC"
(umask 022 && LC_ALL=C.UTF-8 TZ=UTC build "$work/one")
sleep 1  # a different second at least, whatever the machine's speed
echo "== second build: umask 077, de_DE.UTF-8, UTC+14, another directory"
(umask 077 && LC_ALL=de_DE.UTF-8 TZ=Pacific/Kiritimati build "$work/two/elsewhere")

differ=0
count=0
while IFS= read -r -d '' first; do
  name=${first#"$work/one/out/"}
  second="$work/two/elsewhere/out/$name"
  count=$((count + 1))
  if [ ! -f "$second" ]; then
    echo "DIFFERS: $name is missing from the second build"
    differ=1
  elif cmp -s "$first" "$second"; then
    echo "same: $name  $(sha256sum <"$first" | cut -d' ' -f1)"
  else
    echo "DIFFERS: $name"
    differ=1
    if command -v diffoscope >/dev/null; then
      diffoscope --text - "$first" "$second" 2>&1 | head -n 60 || true
    else
      cmp "$first" "$second" || true
    fi
  fi
done < <(find "$work/one/out" -type f -print0 | sort -z)
echo "check-reproducible: $count artifacts compared in $(($(date +%s) - start)) s"
[ "$count" -gt 0 ] || { echo "FAIL: no artifact was made"; exit 1; }
[ "$differ" = 0 ] || { echo "FAIL: the two builds differ"; exit 1; }
echo "1 passed, 0 failed"
