"""Writes the installer's welcome and finish page picture: the program's icon on a felt-green
panel, 164x314 pixels, as a 24-bit BMP (what the installer's pages take).

Usage: wizard_bitmap.py ICON-64.rgba OUT.bmp
"""

import struct
import sys

WIDTH, HEIGHT, ICON = 164, 314, 64
FELT = (22, 96, 60)


def main():
    icon = open(sys.argv[1], "rb").read()
    if len(icon) != ICON * ICON * 4:
        sys.exit(f"{sys.argv[1]}: not {ICON}x{ICON} RGBA pixels")
    left, top = (WIDTH - ICON) // 2, 40
    rows = []
    for y in range(HEIGHT - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(WIDTH):
            colour = FELT
            ix, iy = x - left, y - top
            if 0 <= ix < ICON and 0 <= iy < ICON:
                r, g, b, a = icon[(iy * ICON + ix) * 4:(iy * ICON + ix) * 4 + 4]
                colour = tuple((c * a + f * (255 - a)) // 255 for c, f in zip((r, g, b), FELT))
            row += bytes((colour[2], colour[1], colour[0]))
        row += b"\0" * (-len(row) % 4)
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(sys.argv[2], "wb") as out:
        out.write(header + info + pixels)


main()
