#!/usr/bin/env bash
# Runs a command in a private user, mount and process namespace whose own binfmt_misc hands every
# 32-bit x86 program to qemu-i386 (the F flag: programs that Wine starts too). The host changes
# in nothing: the registration and the mount end with the namespace.
# Usage: with-i386-emulation.sh COMMAND [ARGUMENT...]
set -euo pipefail
qemu=$(command -v qemu-i386) || { echo "with-i386-emulation: qemu-i386 is not installed" >&2; exit 1; }
# The i386 ELF header's magic and mask, as qemu registers them.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
exec unshare --map-root-user --mount --pid --fork --mount-proc sh -ec '
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  printf "%s" "$1" >/proc/sys/fs/binfmt_misc/register
  shift
  exec "$@"' sh ":qemu-i386:M::$magic:$mask:$qemu:F" "$@"
