"""Checks an installer or uninstaller from its PE file: built for ARCH, a manifest that declares
DPI awareness and Windows 10 and 11 support, the program's icon and a version resource naming
VERSION.

Usage: installer_pe.py FILE.exe ARCH VERSION ICON.ico
"""

import struct
import sys

import pefile

MACHINES = {"x86_64": 0x8664, "i686": 0x14C}
WINDOWS_10 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"


def resources(pe, kind):
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id != kind:
            continue
        for name in entry.directory.entries:
            for language in name.directory.entries:
                data = language.data.struct
                yield pe.get_data(data.OffsetToData, data.Size)


def icon_images(path):
    data = open(path, "rb").read()
    _, _, count = struct.unpack("<HHH", data[:6])
    for i in range(count):
        size, offset = struct.unpack("<II", data[6 + 16 * i + 8:6 + 16 * i + 16])
        yield data[offset:offset + size]


def main():
    path, arch, version, icon = sys.argv[1:5]
    pe = pefile.PE(path)
    problems = []
    if pe.FILE_HEADER.Machine != MACHINES[arch]:
        problems.append(f"machine {pe.FILE_HEADER.Machine:#x}, not {arch}")
    manifest = b"".join(resources(pe, 24)).decode()
    if "true</dpiAware>" not in manifest:
        problems.append("the manifest does not declare DPI awareness")
    if WINDOWS_10 not in manifest:
        problems.append("the manifest does not name Windows 10 and 11")
    images = list(resources(pe, 3))
    missing = [i for i, image in enumerate(icon_images(icon)) if image not in images]
    if missing:
        problems.append(f"the program's icon images {missing} are not among its icons")
    strings = {}
    for info in getattr(pe, "FileInfo", []):
        for block in info:
            for table in getattr(block, "StringTable", []):
                strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    if strings.get("ProductVersion") != version:
        problems.append(f"version resource: {strings}")
    for problem in problems:
        print(f"FAIL: {path}: {problem}", file=sys.stderr)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
