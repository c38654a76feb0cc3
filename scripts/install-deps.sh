#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12 or 13; safe to run again.
# Usage: install-deps.sh [--toolchain | --build | --cross | --native]   (test.sh installs in four
# rounds, while the first builds run: --toolchain what the Windows builds need, --build what the
# Linux build and the release artifacts need, --cross the arm64 and 32-bit packages, --native
# the rest)
set -euo pipefail
part=${1:-all}

toolchain=(git cmake ninja-build g++-mingw-w64-i686 g++-mingw-w64-x86-64 libgtest-dev)
build=(g++ pkg-config qt6-base-dev libgtest-dev libgmock-dev libx11-dev desktop-file-utils appstream
  dpkg-dev file nsis python3 locales)

packages=(
  # build
  git cmake ninja-build g++ pkg-config qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
  libx11-dev
  # fonts the window asks for (Liberation Sans has Arial's metrics) and a comma-decimal locale
  fonts-liberation2 fonts-dejavu-core locales
  # tests: headless X server and tools that drive the program from outside
  xvfb xauth xdotool xclip x11-utils x11-apps
  # tests: a headless Wayland compositor and the toolkit's Wayland platform
  weston qt6-wayland
  # tests: the accessibility bus and registry, a private D-Bus session, an AT-SPI client, and a
  # stand-in settings portal in Python
  at-spi2-core dbus-daemon dbus-bin python3-pyatspi python3-dbus
  # tests: the screen reader Orca, speaking through speech-dispatcher into a null sound device
  orca speech-dispatcher speech-dispatcher-espeak-ng
  # tests: sanitizers and fuzzing with clang, resource script, desktop files, Debian package
  clang libclang-rt-dev llvm binutils-mingw-w64-i686 desktop-file-utils appstream dpkg-dev file lintian
  # tests: Debian's hardening check, the Windows programs' headers, differences between builds
  devscripts python3-pefile diffoscope-minimal
  # Windows builds: MinGW-w64 cross compilers, Wine to run the 64-bit one, NSIS for the installer
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 nsis
  # signed releases: Authenticode, OpenPGP, the apt repository's indexes, a clean Debian root to
  # install it in
  osslsigncode gpg gpg-agent apt-utils debootstrap unzip
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo" >&2; exit 1; }
  sudo_cmd=(sudo)
fi

# installed PACKAGE[:ARCH]: in this machine's architecture (or for all) unless another is named; a
# foreign one of the same name, as the arm64 packages bring, does not count.
installed() {
  local name=${1%%:*} arch=${1#*:}
  [ "$arch" != "$1" ] || arch=$(dpkg --print-architecture)
  dpkg-query -W -f='${Status} ${Architecture}\n' "$name" 2>/dev/null |
    grep -qE "^install ok installed ($arch|all)\$"
}
# A mirror caught mid-sync fails one index or another, and apt then keeps all of that suite's old
# lists: where the packages of one foreign architecture ($1) are wanted, the lists of this
# machine's and that architecture are fetched alone. apt-get install then decides with the lists
# it has.
apt_update() {
  "${sudo_cmd[@]}" apt-get update -qq && return
  if [ -n "${1:-}" ] && "${sudo_cmd[@]}" apt-get update -qq -o APT::Architectures::="$(
    dpkg --print-architecture)" -o APT::Architectures::="$1"; then
    return
  fi
  echo "install-deps: apt-get update reported errors; going on with the package lists it has" >&2
}
add_architecture() {
  dpkg --print-foreign-architectures | grep -qx "$1" || "${sudo_cmd[@]}" dpkg --add-architecture "$1"
}
apt_install() {
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "$@" >/dev/null
}
took() { echo "install-deps: $1 in $((SECONDS - started)) s"; started=$SECONDS; }
started=$SECONDS

install_missing() {
  local missing=() p
  for p in "$@"; do
    installed "$p" || missing+=("$p")
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "install-deps: installing ${missing[*]}"
    apt_update
    apt_install "${missing[@]}"
    took "installed ${#missing[@]} packages"
  fi
}

comma_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    "${sudo_cmd[@]}" sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    "${sudo_cmd[@]}" locale-gen >/dev/null
  fi
}
native() {
  install_missing "${packages[@]}"
  comma_locale
}

cross() {
  # The arm64 build: Debian's cross compiler and arm64 development packages, installed beside this
  # machine's own, and qemu-user to run its programs. Not qemu-user-binfmt: it would register
  # handlers for the whole machine.
  arm64=()
  for p in g++-aarch64-linux-gnu qemu-user qt6-base-dev:arm64 libgtest-dev:arm64 qt6-wayland:arm64; do
    installed "$p" || arm64+=("$p")
  done
  if [ "${#arm64[@]}" -gt 0 ]; then
    add_architecture arm64
    echo "install-deps: installing ${arm64[*]}"
    apt_update arm64
    # Without them the arm64 tests are skipped, and test.sh says why.
    apt_install "${arm64[@]}" || echo "install-deps: ${arm64[*]} could not be installed" >&2
    took "arm64 packages"
  fi

  # The 32-bit Windows build's tests run under 32-bit Wine, natively or emulated by qemu-user 10
  # (scripts/i686-route.sh says which). Debian 12 has qemu 10 in bookworm-backports only: that
  # source is added where emulation needs it, and nowhere else. qemu-user-binfmt is not installed:
  # it would register handlers for the whole machine.
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  if route=$("$(dirname "$0")/i686-route.sh" 2>/dev/null); then
    need=()
    for p in wine32:i386 $([ "$codename" = bookworm ] || echo wine32-preloader:i386); do
      installed "$p" || need+=("$p")
    done
    if [ "$route" = emulated ] && ! "$(dirname "$0")/with-i386-emulation.sh" true 2>/dev/null; then
      need+=(qemu-user)
      if [ "$codename" = bookworm ]; then
        need[-1]=qemu-user/bookworm-backports
        if ! apt-cache policy | grep -q ' bookworm-backports/main '; then
          mirror=$(apt-cache policy | awk '$3 == "bookworm/main" {print $2; exit}')
          echo "install-deps: adding bookworm-backports for qemu-user 10"
          echo "deb ${mirror:-http://deb.debian.org/debian} bookworm-backports main" |
            "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/bookworm-backports.list >/dev/null
        fi
      fi
    fi
    if [ "${#need[@]}" -gt 0 ]; then
      add_architecture i386
      echo "install-deps: installing ${need[*]}"
      apt_update i386
      # Without them the 32-bit Windows tests are skipped, and test.sh says why.
      apt_install "${need[@]}" || echo "install-deps: ${need[*]} could not be installed" >&2
      took "32-bit packages"
    fi
  fi
}

case $part in
  all) native && cross ;;
  --toolchain) install_missing "${toolchain[@]}" ;;
  --build) install_missing "${build[@]}" && comma_locale ;;
  --native) native ;;
  --cross) cross ;;
  *) echo "usage: install-deps.sh [--toolchain | --build | --cross | --native]" >&2; exit 2 ;;
esac
