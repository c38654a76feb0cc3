"""Checks screenshots of the calculator window, taken with xwd -id.

Usage: theme_check.py same A.xwd B.xwd
       theme_check.py look PICTURE.xwd BACKGROUND HINT [OUT.png]

same: the two pictures are equal, pixel for pixel.
look: the form's background is BACKGROUND: "R,G,B", "light" or "dark" (where white text stands
out more than black); the hint line's text is HINT: "red" (pure red), "readable" (a red of at
least 4.5:1 against the background), "caption" (the captions' text colour) or "any". A text's colour is the one most of its non-background pixels have. OUT.png keeps
the picture.
"""

import os
import sys
from collections import Counter

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "windows"))
from screen_colours import CAPTION, CLIENT, HINT, read_xwd, write_png  # noqa: E402


def luminance(colour):
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (linear(c) for c in colour)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)))
    return (lb + 0.05) / (la + 0.05)


def ink(pixel, region, background):
    left, top, right, bottom = region
    found = Counter(pixel(x, y) for x in range(left, right) for y in range(top, bottom))
    found.pop(background, None)
    return found.most_common(1)[0][0] if found else None


def same(a, b):
    (wa, ha, pa), (wb, hb, pb) = read_xwd(a), read_xwd(b)
    if (wa, ha) != (wb, hb):
        sys.exit(f"FAIL: {a} is {wa}x{ha}, {b} is {wb}x{hb}")
    differing = [(x, y) for y in range(ha) for x in range(wa) if pa(x, y) != pb(x, y)]
    if differing:
        x, y = differing[0]
        sys.exit(f"FAIL: {len(differing)} pixels differ, the first at {x},{y}: "
                 f"{pa(x, y)} against {pb(x, y)}")
    print(f"same: {wa}x{ha} pixels equal")


def look(picture, background, hint, out=None):
    width, height, pixel = read_xwd(picture)
    if out:
        write_png(out, min(width, CLIENT[0]), min(height, CLIENT[1]), pixel)
    shown = pixel(2, 2)
    dark = contrast(shown, (255, 255, 255)) > contrast(shown, (0, 0, 0))
    wanted = {"light": not dark, "dark": dark}.get(
        background, shown == tuple(int(c) for c in background.split(",")[:3]))
    failures = [] if wanted else [f"background {shown}, want {background}"]
    background = shown
    hint_ink, caption_ink = ink(pixel, HINT, background), ink(pixel, CAPTION, background)
    if hint == "red" and hint_ink != (255, 0, 0):
        failures.append(f"hint {hint_ink}, want pure red")
    if hint == "readable" and (hint_ink[0] != 255 or contrast(hint_ink, background) < 4.5):
        failures.append(f"hint {hint_ink}: {contrast(hint_ink, background):.2f}:1, want a red "
                        "of 4.5:1 or more")
    if hint == "caption" and hint_ink != caption_ink:
        failures.append(f"hint {hint_ink}, want the captions' {caption_ink}")
    if failures:
        sys.exit(f"FAIL: {picture}: " + "; ".join(failures))
    print(f"look: background {background}, hint {hint_ink} "
          f"({contrast(hint_ink, background):.2f}:1), captions {caption_ink}")


if __name__ == "__main__":
    {"same": same, "look": look}[sys.argv[1]](*sys.argv[2:])
