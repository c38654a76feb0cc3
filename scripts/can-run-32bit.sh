#!/usr/bin/env bash
# Exits 0 when this machine executes 32-bit x86 code: runs a 93-byte i386 program that only
# calls exit(0). Prints why not otherwise.
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
{
  # ELF header: 32-bit, little-endian, executable for the i386, entry 0x08048054
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'
  printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
  # one loadable, executable segment: the whole file at 0x08048000
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
  printf '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
  # mov eax, 1; xor ebx, ebx; int 0x80
  printf '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80'
} >"$probe"
chmod +x "$probe"
if ! "$probe" 2>/dev/null; then
  echo "this machine cannot execute 32-bit x86 code (a minimal i386 program did not run)"
  exit 1
fi
