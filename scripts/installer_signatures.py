#!/usr/bin/env python3
"""Writes the Authenticode signatures of the programs packed inside an NSIS installer (the
program and the uninstaller) to OUT_DIR/1.der, 2.der, ...: DER PKCS#7 SignedData, as osslsigncode
2.9 extract-signature writes them, or with --win-certificate inside the PE file's WIN_CERTIFICATE
header and padding, as osslsigncode 2.5 writes them. The installer's data is one solid LZMA
stream after NSIS's header.
Usage: installer_signatures.py [--win-certificate] INSTALLER OUT_DIR"""
import lzma
import os
import struct
import sys

SIGNED_DATA = bytes.fromhex("06092a864886f70d010702")  # the OID that opens a PKCS#7 SignedData


def payload(installer):
    magic = struct.pack("<I", 0xDEADBEEF) + b"NullsoftInst"
    start = installer.find(magic) - 4
    if start < 0:
        sys.exit("not an NSIS installer")
    props = installer[start + 28 : start + 33]
    dict_size = struct.unpack("<I", props[1:5])[0]
    lc, lp, pb = props[0] % 9, props[0] // 9 % 5, props[0] // 45
    lzma1 = {"id": lzma.FILTER_LZMA1, "dict_size": dict_size, "lc": lc, "lp": lp, "pb": pb}
    return lzma.LZMADecompressor(lzma.FORMAT_RAW, filters=[lzma1]).decompress(installer[start + 33 :])


def main():
    wrap = sys.argv[1] == "--win-certificate"
    installer, out_dir = sys.argv[1 + wrap :]
    with open(installer, "rb") as f:
        data = payload(f.read())
    os.makedirs(out_dir, exist_ok=True)
    count, at = 0, data.find(SIGNED_DATA)
    while at >= 4:
        if data[at - 4 : at - 2] == b"\x30\x82":  # SEQUENCE with a two-byte length
            length = struct.unpack(">H", data[at - 2 : at])[0]
            count += 1
            signature = data[at - 4 : at + length]
            if wrap:  # dwLength, wRevision 2.0, WIN_CERT_TYPE_PKCS_SIGNED_DATA; 8-byte aligned
                padded = -(-(8 + len(signature)) // 8) * 8
                header = struct.pack("<IHH", padded, 0x0200, 0x0002)
                signature = (header + signature).ljust(padded, b"\0")
            with open(os.path.join(out_dir, f"{count}.der"), "wb") as out:
                out.write(signature)
        at = data.find(SIGNED_DATA, at + 1)
    print(count)


main()
