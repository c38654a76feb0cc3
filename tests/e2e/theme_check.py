"""Checks a screenshot of the calculator window, taken with xwd -id.

Usage: theme_check.py PICTURE.xwd BACKGROUND HINT [OUT.png]

BACKGROUND is the form's: "R,G,B", "light" or "dark" (white text stands out more than black).
HINT is the hint line's text colour: "red" (pure red), "readable" (a red of 4.5:1 or more
against the background), "caption" (the captions' colour) or "any". A text's colour is the one
most of its non-background pixels have. OUT.png keeps the picture.
"""

import os
import sys
from collections import Counter

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "windows"))
from screen_colours import CAPTION, CLIENT, HINT, read_xwd, write_png  # noqa: E402


def contrast(a, b):
    def luminance(colour):
        r, g, b = (c / 3294.6 if c <= 10.31 else ((c / 255 + 0.055) / 1.055) ** 2.4
                   for c in colour)
        return 0.2126 * r + 0.7152 * g + 0.0722 * b
    darker, lighter = sorted((luminance(a), luminance(b)))
    return (lighter + 0.05) / (darker + 0.05)


def main(picture, background, hint, out=None):
    width, height, pixel = read_xwd(picture)
    if out:
        write_png(out, min(width, CLIENT[0]), min(height, CLIENT[1]), pixel)
    shown = pixel(2, 2)

    def ink(region):
        left, top, right, bottom = region
        found = Counter(pixel(x, y) for x in range(left, right) for y in range(top, bottom))
        found.pop(shown, None)
        return found.most_common(1)[0][0]

    dark = contrast(shown, (255, 255, 255)) > contrast(shown, (0, 0, 0))
    hint_ink, caption_ink = ink(HINT), ink(CAPTION)
    ratio = contrast(hint_ink, shown)
    failures = [what for what, wrong in (
        (f"background {shown}, want {background}",
         {"light": dark, "dark": not dark}.get(background, background != "%d,%d,%d" % shown)),
        (f"hint {hint_ink}, want pure red", hint == "red" and hint_ink != (255, 0, 0)),
        (f"hint {hint_ink} at {ratio:.2f}:1, want a red of 4.5:1",
         hint == "readable" and (hint_ink[0] != 255 or ratio < 4.5)),
        (f"hint {hint_ink}, want the captions' {caption_ink}",
         hint == "caption" and hint_ink != caption_ink)) if wrong]
    if failures:
        sys.exit(f"FAIL: {picture}: " + "; ".join(failures))
    print(f"background {shown}, hint {hint_ink} ({ratio:.2f}:1), captions {caption_ink}")


if __name__ == "__main__":
    main(*sys.argv[1:])
