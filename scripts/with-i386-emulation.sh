#!/usr/bin/env bash
# Runs a command in a private user, mount and process namespace whose own binfmt_misc hands every
# 32-bit x86 program to qemu-i386 (the F flag: programs that Wine starts too). The host changes
# in nothing: the registration and the mount end with the namespace.
# Usage: with-i386-emulation.sh COMMAND [ARGUMENT...]
set -euo pipefail
# qemu before 10 runs Wine about ten times slower: too slow for the tests' time limits.
version=$(qemu-i386 --version 2>/dev/null | sed -n 's/.*version \([0-9]*\)\..*/\1/p')
if [ "${version:-0}" -lt 10 ]; then
  echo "qemu-i386 10 or later (qemu-user) is not installed" >&2
  exit 1
fi
qemu=$(command -v qemu-i386)
# The i386 ELF header's magic and mask, as qemu registers them.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
exec unshare --map-root-user --mount --pid --fork --mount-proc sh -ec '
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  printf "%s" "$1" >/proc/sys/fs/binfmt_misc/register
  shift
  exec "$@"' sh ":qemu-i386:M::$magic:$mask:$qemu:F" "$@"
