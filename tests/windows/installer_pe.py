"""Checks an installer or uninstaller from its bytes: built for ARCH, a manifest declaring DPI
awareness and Windows 10 and 11, and every image of the program's icon.
Usage: installer_pe.py FILE.exe ARCH ICON.ico"""
import struct
import sys

exe, arch, icon = open(sys.argv[1], "rb").read(), sys.argv[2], open(sys.argv[3], "rb").read()
machine = struct.unpack_from("<H", exe, struct.unpack_from("<I", exe, 0x3C)[0] + 4)[0]
images = [icon[offset:offset + size] for size, offset in
          (struct.unpack_from("<II", icon, 6 + 16 * i + 8) for i in range(icon[4]))]
problems = [what for what, bad in [
    (f"machine {machine:#x}", machine != {"x86_64": 0x8664, "i686": 0x14C}[arch]),
    ("no DPI awareness", b"true</dpiAware>" not in exe),
    ("no Windows 10", b"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}" not in exe),
    ("not the program's icon", not all(image in exe for image in images))] if bad]
for problem in problems:
    print(f"FAIL: {sys.argv[1]}: {problem}", file=sys.stderr)
sys.exit(1 if problems else 0)
