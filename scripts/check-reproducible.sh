#!/usr/bin/env bash
# Builds the release artifacts of the work tree's tracked files twice and checks that they are
# the same bytes: the Debian packages for this machine and for arm64 with their debug-symbol
# packages, both Windows programs, their zips and installers, and the SHA256SUMS beside them. The
# two builds differ in everything that must not matter: the clone's and the build's directory,
# the time, the umask, the locale and the time zone. On a difference it names the artifact and
# shows where it differs (diffoscope).
# Usage: scripts/check-reproducible.sh   (QUARN_SKIP_WINDOWS=1 leaves Windows out, QUARN_SKIP_ARM64=1
# arm64)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
jobs=$(nproc)
# The tracked files as they are, committed or not: HEAD when nothing is changed.
revision=$(git -C "$repo" stash create)
revision=${revision:-$(git -C "$repo" rev-parse HEAD)}
ref=refs/check-reproducible/$$
git -C "$repo" update-ref "$ref" "$revision"
trap 'rm -rf "$work"; git -C "$repo" update-ref -d "$ref"' EXIT
platforms=(linux)
[ -n "${QUARN_SKIP_ARM64:-}" ] || platforms+=(arm64)
[ -n "${QUARN_SKIP_WINDOWS:-}" ] || platforms+=(i686 x86_64)

# build DIR: clones the revision into DIR/src and builds every platform's release into DIR/out.
build() {
  local dir=$1 platform
  git init -q "$dir/src"
  git -C "$dir/src" fetch -q "$repo" "$ref"
  git -C "$dir/src" checkout -q FETCH_HEAD
  mkdir -p "$dir/out"
  for platform in "${platforms[@]}"; do
    local b="$dir/build-$platform" toolchain=() target=(--target quarn-ev docs) generators=(-G DEB)
    if [ "$platform" = arm64 ]; then
      toolchain=(-DCMAKE_TOOLCHAIN_FILE="$dir/src/cmake/toolchains/aarch64-linux-gnu.cmake")
    elif [ "$platform" != linux ]; then
      toolchain=(-DCMAKE_TOOLCHAIN_FILE="$dir/src/cmake/toolchains/mingw-w64-$platform.cmake")
      target=(--target quarn-ev)
      generators=()
    fi
    cmake -S "$dir/src" -B "$b" -G Ninja -DCMAKE_BUILD_TYPE="$(case $platform in linux | arm64)
      echo RelWithDebInfo ;; *) echo Release ;; esac)" "${toolchain[@]}" >/dev/null
    cmake --build "$b" -j "$jobs" "${target[@]}" >/dev/null
    (cd "$b" && cpack "${generators[@]}" --config CPackConfig.cmake -B "$b/pkg" >/dev/null)
    mkdir -p "$dir/out/$platform"
    cp "$b"/pkg/*.deb "$b"/pkg/*.ddeb "$b"/pkg/*.zip "$b"/pkg/*.exe "$b"/pkg/SHA256SUMS \
      "$dir/out/$platform/" 2>/dev/null || true
    [ "${#generators[@]}" -gt 0 ] || cp "$b/bin/quarn-ev.exe" "$dir/out/$platform/"
  done
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
