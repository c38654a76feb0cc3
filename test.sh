#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: an optimised build in build/, a clang
# build with AddressSanitizer + UndefinedBehaviorSanitizer and the fuzz target in build-asan/, an
# arm64 build in build-arm64/ tested under qemu-user, the Windows builds in build-win-x86_64/ and
# build-win-i686/, each tested under Wine (the 32-bit one natively or under qemu-user, see
# scripts/i686-route.sh), the release artifacts from a clean clone, which must be the same bytes
# as those packed from the tested builds, and a signed release checked as its publisher and users
# would (as root).
# The stages run at once where they can: the builds one after another at a lower priority, each
# build's tests as soon as it is done, beside the next build; the Windows builds start once the
# cross compilers are installed, beside the rest of the installs. Each stage has its own log in
# test-logs/; a failed stage's log tail is printed, and a table of every stage's result, time and
# processor time closes the run. Exits non-zero on any failure.
# QUARN_SKIP_WINDOWS=1 leaves Windows out, QUARN_SKIP_ARM64=1 arm64; QUARN_I686_ROUTE=emulated
# emulates 32-bit code where it runs natively; QUARN_JOBS=N sets the jobs of each build and test
# run (default: the number of cores).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/stages.sh
stage install-toolchain scripts/install-deps.sh --toolchain
passed install-toolchain || { summary install-toolchain; exit 1; }
werror=$([ -n "${CI:-}" ] && echo ON || echo OFF)
jobs=${QUARN_JOBS:-$(nproc)}
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# configure DIR CMAKE-ARGS...; build DIR: the builds run niced, so that tests beside them keep
# their pace.
configure() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DQUARN_WERROR="$werror" "$@" >/dev/null
}
build() { nice -n 10 cmake --build "$1" -j "$jobs"; }
run_tests() { ctest --test-dir "$1" --output-on-failure -j "$jobs"; }

# What needs the arm64 and 32-bit packages waits for them, then learns which of those tests can
# run. arm64 left out of the tests is left out of the release artifacts too.
cross_ready() {
  await install-cross
  if [ -n "${QUARN_SKIP_ARM64:-}" ]; then
    arm64_why="QUARN_SKIP_ARM64 is set"
  elif ! command -v aarch64-linux-gnu-g++ qemu-aarch64 >/dev/null ||
    [ ! -e /usr/lib/aarch64-linux-gnu/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake ]; then
    arm64_why="the cross compiler, qemu-user or the arm64 Qt packages are not installed"
    export QUARN_SKIP_ARM64=1
  fi
  # The 32-bit Windows build's tests run under 32-bit Wine: natively where this machine executes
  # 32-bit code, otherwise emulated by qemu-user in a private namespace (scripts/i686-route.sh).
  i686_emulator=(-UCMAKE_CROSSCOMPILING_EMULATOR) i686_runner=()
  if ! route=$(scripts/i686-route.sh); then
    i686_note="32-bit tests skipped: $route"
  elif [ ! -x /usr/lib/wine/wine ]; then
    i686_note="32-bit tests skipped: 32-bit Wine (/usr/lib/wine/wine) is not installed"
  elif [ "$route" = emulated ] && ! why=$(scripts/with-i386-emulation.sh true 2>&1); then
    i686_note="32-bit tests skipped: $why"
  else
    i686_note="32-bit code runs $route"
    i686_emulator=(-DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine
      -DQUARN_X86_64_BUILD="$PWD/build-win-x86_64")
    if [ "$route" = emulated ]; then i686_runner=(scripts/with-i386-emulation.sh); fi
  fi
}
arm64_why=""

build_linux() {
  await install-build
  configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  build build
}
build_asan() {
  await install-deps
  # -O1 and line tables only, as the sanitizers advise: reports keep their files and lines, at a
  # lower compile time.
  CC=clang CXX=clang++ configure build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_SANITIZE=ON \
    -DQUARN_FUZZ=ON -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG"
  build build-asan
}
build_arm64() {
  cross_ready
  [ -z "$arm64_why" ] || skip "$arm64_why"
  configure build-arm64 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/aarch64-linux-gnu.cmake
  build build-arm64
}
configure_windows() {  # ARCH CMAKE-ARGS...
  local arch=$1
  shift
  configure "build-win-$arch" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/mingw-w64-$arch.cmake" "$@"
}
# The Windows builds need only the cross compilers, and run while the rest is installed.
build_windows() {  # ARCH
  [ -z "${QUARN_SKIP_WINDOWS:-}" ] || skip "QUARN_SKIP_WINDOWS is set"
  configure_windows "$1"
  build "build-win-$1"
}
# Their tests configure them again once every package is in, Wine, NSIS and the 32-bit route
# among them. The suites run one test at a time, and never while packages are being installed:
# windows_smoke has hung past its 300 s in both cases. They start once the Linux build's suite,
# whose end-to-end tests time the program's replies, has ended.
test_windows() {  # ARCH
  await "build-win-$1" install-deps
  after test-build
  cross_ready
  local emulator=() runner=()
  if [ "$1" = i686 ]; then
    await build-win-x86_64
    echo "$i686_note"
    emulator=("${i686_emulator[@]}") runner=("${i686_runner[@]}")
  fi
  configure_windows "$1" "${emulator[@]}"
  build "build-win-$1"
  "${runner[@]}" ctest --test-dir "build-win-$1" --output-on-failure
}
test_build() {  # the build's folder, also the name of its stage
  await "$1" install-deps
  run_tests "$1"
}
# The release artifacts are built twice: from a clean clone of the commit, and here, where each
# platform's build is packed once its tests have passed. The two must be the same bytes.
release_build() {
  cross_ready
  nice -n 10 scripts/check-reproducible.sh --keep "$logs/release" --second-only
}
reproducible() {
  cross_ready
  local tested=(release-build test-build)
  [ -n "${QUARN_SKIP_ARM64:-}" ] || tested+=(test-build-arm64)
  [ -n "${QUARN_SKIP_WINDOWS:-}" ] || tested+=(test-win-x86_64 test-win-i686)
  await "${tested[@]}"
  scripts/check-reproducible.sh --keep "$logs/release" --first-from-builds
}
# The signed release packs and signs the clean clone's builds again.
signed_release() {
  [ "$(id -u)" = 0 ] || skip "it makes a clean Debian root, which needs root"
  await release-build install-deps
  cross_ready
  QUARN_RELEASE_WORK="$logs/release/two/elsewhere" tests/e2e/signed_release.sh
}

# The builds, one after another: first those that need only the cross compilers, last the one
# whose tests are shortest.
builds() {
  stage build-win-x86_64 build_windows x86_64
  stage build-win-i686 build_windows i686
  stage build build_linux
  stage release-build release_build
  stage build-arm64 build_arm64
  stage build-asan build_asan
}
installs() {
  stage install-build scripts/install-deps.sh --build
  stage install-cross scripts/install-deps.sh --cross
  stage install-deps scripts/install-deps.sh --native
}
installs &
builds &
stage test-win-x86_64 test_windows x86_64 &
stage test-win-i686 test_windows i686 &
stage test-build test_build build &
stage test-build-asan test_build build-asan &
stage test-build-arm64 test_build build-arm64 &
stage reproducible reproducible &
stage signed-release signed_release &
wait
summary install-toolchain install-build install-cross install-deps build-win-x86_64 test-win-x86_64 \
  build-win-i686 test-win-i686 build test-build release-build reproducible signed-release build-arm64 test-build-arm64 build-asan test-build-asan
