#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12 or 13; safe to run again.
set -euo pipefail

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
  # tests: the accessibility bus and registry, a private D-Bus session, and an AT-SPI client
  at-spi2-core dbus-daemon dbus-bin python3-pyatspi
  # tests: the screen reader Orca, speaking through speech-dispatcher into a null sound device
  orca speech-dispatcher speech-dispatcher-espeak-ng
  # tests: sanitizers and fuzzing with clang, resource script, desktop files, Debian package
  clang libclang-rt-dev llvm binutils-mingw-w64-i686 desktop-file-utils appstream dpkg-dev file lintian
  # tests: Debian's hardening check, the Windows programs' headers, differences between builds
  devscripts python3-pefile diffoscope-minimal
  # Windows builds: MinGW-w64 cross compilers, Wine to run the 64-bit one, NSIS for the installer
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 nsis
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo" >&2; exit 1; }
  sudo_cmd=(sudo)
fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
# A mirror caught mid-sync fails one index or another: apt-get install then decides with the lists
# it has.
apt_update() {
  "${sudo_cmd[@]}" apt-get update -qq ||
    echo "install-deps: apt-get update reported errors; going on with the package lists it has" >&2
}
apt_install() {
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "$@" >/dev/null
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  apt_update
  apt_install "${missing[@]}"
fi

# 32-bit Wine runs the 32-bit Windows build's tests, where this machine executes 32-bit code.
if ! installed wine32:i386 && "$(dirname "$0")/can-run-32bit.sh" >/dev/null; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  echo "install-deps: installing wine32:i386"
  apt_update
  # Without it the 32-bit Windows tests are skipped, and test.sh says why.
  apt_install wine32:i386 || echo "install-deps: wine32:i386 could not be installed" >&2
fi

if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  "${sudo_cmd[@]}" sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
