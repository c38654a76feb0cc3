#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: an optimised build in build/, a clang
# build with AddressSanitizer + UndefinedBehaviorSanitizer and the fuzz target in build-asan/, an
# arm64 build in build-arm64/ tested under qemu-user, two builds of the release artifacts that
# must give the same bytes, a signed release checked as its publisher and users would (as root),
# and the Windows builds in build-win-x86_64/ and build-win-i686/, each
# tested under Wine (the 32-bit one natively or under qemu-user, see scripts/i686-route.sh).
# Exits non-zero on any failure; set QUARN_SKIP_WINDOWS=1 to leave Windows out, QUARN_SKIP_ARM64=1
# to leave arm64 out, QUARN_I686_ROUTE=emulated to emulate 32-bit code where it runs natively.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
werror=$([ -n "${CI:-}" ] && echo ON || echo OFF)
jobs=$(nproc)

echo "== build/: optimised build, all tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_WERROR="$werror" >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== build-asan/: ASan + UBSan, all tests and the fuzz target"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUARN_SANITIZE=ON -DQUARN_FUZZ=ON -DQUARN_WERROR="$werror" >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== build-arm64/: arm64 cross build, all tests under qemu-user"
if [ -n "${QUARN_SKIP_ARM64:-}" ]; then
  echo "arm64 tests SKIPPED: QUARN_SKIP_ARM64 is set"
elif ! command -v aarch64-linux-gnu-g++ qemu-aarch64 >/dev/null ||
  [ ! -e /usr/lib/aarch64-linux-gnu/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake ]; then
  echo "arm64 tests SKIPPED: the cross compiler, qemu-user or the arm64 Qt packages are not installed"
  export QUARN_SKIP_ARM64=1  # nor in the release artifacts
else
  start=$SECONDS
  cmake -S . -B build-arm64 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/aarch64-linux-gnu.cmake -DQUARN_WERROR="$werror" >/dev/null
  cmake --build build-arm64 -j "$jobs"
  ctest --test-dir build-arm64 --output-on-failure -j "$jobs"
  echo "build-arm64: built and tested in $((SECONDS - start)) s"
fi

echo "== release artifacts built twice, compared byte for byte"
scripts/check-reproducible.sh

echo "== a signed release with throwaway keys, verified and installed from its apt repository"
if [ "$(id -u)" -ne 0 ]; then
  echo "signed release test SKIPPED: it makes a clean Debian root, which needs root"
else
  start=$SECONDS
  tests/e2e/signed_release.sh
  echo "signed release: checked in $((SECONDS - start)) s"
fi

echo "== build-win-x86_64/, build-win-i686/: Windows"
if [ -n "${QUARN_SKIP_WINDOWS:-}" ]; then
  echo "Windows tests SKIPPED: QUARN_SKIP_WINDOWS is set"
  exit 0
fi
# The 32-bit build's tests run under 32-bit Wine: natively where this machine executes 32-bit
# code, otherwise emulated by qemu-user in a private namespace (scripts/i686-route.sh).
i686_emulator=(-UCMAKE_CROSSCOMPILING_EMULATOR)
i686_runner=()
if ! route=$(scripts/i686-route.sh); then
  echo "32-bit Windows tests SKIPPED: $route"
elif [ ! -x /usr/lib/wine/wine ]; then
  echo "32-bit Windows tests SKIPPED: 32-bit Wine (/usr/lib/wine/wine) is not installed"
elif [ "$route" = emulated ] && ! why=$(scripts/with-i386-emulation.sh true 2>&1); then
  echo "32-bit Windows tests SKIPPED: $why"
else
  echo "32-bit Windows tests: 32-bit code runs $route"
  i686_emulator=(-DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine
    -DQUARN_X86_64_BUILD="$PWD/build-win-x86_64")
  if [ "$route" = emulated ]; then i686_runner=(scripts/with-i386-emulation.sh); fi
fi
for arch in x86_64 i686; do
  emulator=() runner=()
  if [ "$arch" = i686 ]; then emulator=("${i686_emulator[@]}") runner=("${i686_runner[@]}"); fi
  cmake -S . -B "build-win-$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/mingw-w64-$arch.cmake" -DQUARN_WERROR="$werror" \
    "${emulator[@]}" >/dev/null
  cmake --build "build-win-$arch" -j "$jobs"
  start=$SECONDS
  "${runner[@]}" ctest --test-dir "build-win-$arch" --output-on-failure
  echo "build-win-$arch: tests took $((SECONDS - start)) s"
done
