"""Checks the colours of the calculator window in a screenshot taken with xwd.

Usage: screen_colours.py SCREEN.xwd CLIENT_X CLIENT_Y WINDOW_TEXT BUTTON_FACE OUT.png

WINDOW_TEXT and BUTTON_FACE are the system colours the Wine prefix was given, as "R G B". The
client area is cut out and kept as OUT.png. Checked: the form's background is the button-face
colour; the hint line's text is drawn in pure red, a caption's text in the window-text colour.
Wine smooths the edges of glyphs channel by channel, so a text pixel is either the text colour
or, in each channel, between it and the background.
"""

import struct
import sys
import zlib

# Regions of the client area at 96 DPI: where the hint line and the first caption stand.
HINT = (8, 8, 360, 27)
CAPTION = (8, 65, 100, 81)
CLIENT = (375, 342)


def read_xwd(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = struct.unpack(">25I", data[:100])
    header_size, pixmap_format, depth = fields[0], fields[2], fields[3]
    width, height, byte_order, bits_per_pixel, bytes_per_line = (
        fields[4], fields[5], fields[7], fields[11], fields[12])
    red_mask, green_mask, blue_mask, ncolors = fields[14], fields[15], fields[16], fields[19]
    if pixmap_format != 2 or bits_per_pixel not in (24, 32) or depth != 24:
        sys.exit(f"FAIL: unexpected picture: format {pixmap_format}, {bits_per_pixel} bpp")
    start = header_size + 12 * ncolors
    order = "<" if byte_order == 0 else ">"
    step = bits_per_pixel // 8

    def shift(mask):
        return (mask & -mask).bit_length() - 1

    shifts = [shift(m) for m in (red_mask, green_mask, blue_mask)]

    def pixel(x, y):
        offset = start + y * bytes_per_line + step * x
        value = int.from_bytes(data[offset:offset + step], "little" if order == "<" else "big")
        return tuple((value >> s) & 0xFF for s in shifts)

    return width, height, pixel


def write_png(path, width, height, pixel):
    rows = b"".join(
        b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(rows, 9)))
        f.write(chunk(b"IEND", b""))


def between(colour, background, ink):
    """Whether each channel of colour lies between the background's and the ink's."""
    return all(min(b, i) - 2 <= c <= max(b, i) + 2 for c, b, i in zip(colour, background, ink))


def main():
    path, cx, cy, text_arg, face_arg, png = sys.argv[1:7]
    cx, cy = int(cx), int(cy)
    window_text = tuple(int(v) for v in text_arg.split())
    button_face = tuple(int(v) for v in face_arg.split())
    width, height, screen = read_xwd(path)
    if cx + CLIENT[0] > width or cy + CLIENT[1] > height:
        sys.exit("FAIL: the client area lies outside the screen")

    def client(x, y):
        return screen(cx + x, cy + y)

    write_png(png, CLIENT[0], CLIENT[1], client)
    failures = []

    def inks(region):
        left, top, right, bottom = region
        found = {}
        for y in range(top, bottom):
            for x in range(left, right):
                colour = client(x, y)
                if colour != button_face:
                    found[colour] = found.get(colour, 0) + 1
        return found

    background = client(CLIENT[0] - 4, CLIENT[1] - 4)
    if background != button_face:
        failures.append(f"background {background}, want the button face {button_face}")
    for name, region, want in (("hint line", HINT, (255, 0, 0)),
                               ("caption 'Money to call:'", CAPTION, window_text)):
        found = inks(region)
        print(f"{name}: {sum(found.values())} text pixels, colours {sorted(found)[:6]}")
        if found.get(want, 0) < 50:
            failures.append(f"{name}: {found.get(want, 0)} pixels of {want}, want 50 or more")
        others = [c for c in found if not between(c, button_face, want)]
        if others:
            failures.append(f"{name}: text pixels of other colours {sorted(others)[:6]}")
    for failure in failures:
        print("FAIL:", failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
