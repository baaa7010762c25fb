#!/usr/bin/env python3
"""Writes the spin button's arrow glyphs KVSPINUP.bmp and KVSPINDOWN.bmp.

Each file is an 18 x 6 pixel, 4-bit bitmap with the standard 16-colour
palette, holding two 9 x 6 glyphs side by side: the enabled arrow (a solid
black triangle) and the disabled one (the same triangle outlined in dark
grey). Every other pixel is olive, the colour the button leaves transparent.

    tools/make_spin_glyphs.py [output folder]    (default: resources/)
"""
import os
import struct
import sys

# The standard 16-colour palette as (R, G, B).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (128, 128, 128),
    (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, OLIVE, GREY = 0, 3, 7
GLYPH_W, HEIGHT = 9, 6

# Columns (1-based within a glyph) of rows 1..4 of the up arrow.
SOLID = [range(5, 6), range(4, 7), range(3, 8), range(2, 9)]
OUTLINE = [(5,), (4, 6), (3, 7), tuple(range(2, 9))]


def glyph_rows(down):
    """Rows from the top, each a list of 18 palette indices."""
    rows = [[OLIVE] * (2 * GLYPH_W) for _ in range(HEIGHT)]
    for i in range(4):
        row = rows[3 - i if down else i]
        for c in SOLID[i]:
            row[c - 1] = BLACK
        for c in OUTLINE[i]:
            row[GLYPH_W + c - 1] = GREY
    return rows


def bmp4(rows):
    width, height = len(rows[0]), len(rows)
    stride = ((width * 4 + 31) // 32) * 4
    pixels = b""
    for row in reversed(rows):  # bottom-up
        packed = bytearray()
        for x in range(0, width, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < width else 0
            packed.append((hi << 4) | lo)
        pixels += bytes(packed) + b"\0" * (stride - len(packed))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    return header + info + palette + pixels


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources")
    for name, down in (("KVSPINUP.bmp", False), ("KVSPINDOWN.bmp", True)):
        with open(os.path.join(out, name), "wb") as f:
            f.write(bmp4(glyph_rows(down)))


if __name__ == "__main__":
    main()
