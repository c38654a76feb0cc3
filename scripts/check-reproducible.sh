#!/usr/bin/env bash
# Builds the release artifacts of the work tree's tracked files twice and checks that they are
# the same bytes: the Debian packages for this machine and for arm64 with their debug-symbol
# packages, both Windows zips and installers, and the COMMIT and SHA256SUMS beside them, as the
# release step (scripts/release.sh) makes them without keys. The
# two builds differ in everything that must not matter: the clone's and the build's directory,
# the time, the umask, the locale and the time zone. On a difference it names the artifact and
# shows where it differs (diffoscope).
# Usage: scripts/check-reproducible.sh [--keep DIR [--second-only | --first-from-builds]]
#   (QUARN_SKIP_WINDOWS=1 leaves Windows out, QUARN_SKIP_ARM64=1 arm64)
#   --keep DIR           builds in DIR/one and DIR/two/elsewhere and keeps them: a later release
#                        step of the same commit given `--work DIR/one` then only packs and signs.
#   --second-only        makes only the second build, for a later --first-from-builds.
#   --first-from-builds  the first build is the one test.sh made in this work tree (build/,
#                        build-arm64/, build-win-*/), packed; the second is DIR's, made if missing.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
work="" mode=both
while [ $# -gt 0 ]; do
  case $1 in
    --keep) work=$(realpath -m "$2") && shift ;;
    --second-only) mode=second ;;
    --first-from-builds) mode=from-builds ;;
    *) echo "usage: check-reproducible.sh [--keep DIR [--second-only | --first-from-builds]]" >&2
      exit 2 ;;
  esac
  shift
done
if [ -z "$work" ]; then
  [ "$mode" = both ] || { echo "check-reproducible: $mode needs --keep DIR" >&2; exit 2; }
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
[ "$mode" = from-builds ] || rm -rf "$work"
rm -rf "$work/one"
mkdir -p "$work"
# The tracked files as they are, committed or not: HEAD when nothing is changed. Both builds are
# of the same commit: a second call takes the first's.
if [ -s "$work/revision" ]; then
  revision=$(cat "$work/revision")
else
  revision=$(git -C "$repo" stash create)
  revision=${revision:-$(git -C "$repo" rev-parse HEAD)}
  echo "$revision" >"$work/revision"
fi

# build DIR: the release step, unsigned, with its clone and builds in DIR and the release in DIR/out.
build() {
  env -u QUARN_GPG_KEY -u QUARN_SIGN_PKCS12 -u QUARN_SIGNATURES_FROM "$repo/scripts/release.sh" --revision "$revision" \
    --work "$1" "$1/out" >/dev/null
}

start=$(date +%s)
second() {
  echo "== second build: umask 077, de_DE.UTF-8, UTC+14, another directory"
  (umask 077 && LC_ALL=de_DE.UTF-8 TZ=Pacific/Kiritimati build "$work/two/elsewhere")
}
case $mode in
  second)
    second
    echo "check-reproducible: the second build made in $(($(date +%s) - start)) s"
    exit 0 ;;
  from-builds)
    [ -d "$work/two/elsewhere/out" ] || second
    echo "== first build: this work tree's, packed"
    env -u QUARN_GPG_KEY -u QUARN_SIGN_PKCS12 -u QUARN_SIGNATURES_FROM "$repo/scripts/release.sh" \
      --revision "$revision" --from-builds "$repo" "$work/one/out" >/dev/null ;;
  both)
    echo "== first build: umask 022, C.UTF-8, UTC"
    (umask 022 && LC_ALL=C.UTF-8 TZ=UTC build "$work/one")
    sleep 1  # a different second at least, whatever the machine's speed
    second ;;
esac

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
