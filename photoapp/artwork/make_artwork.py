#!/usr/bin/env python3
"""Draws the main dialog's small pictures (our own simple artwork) into this folder.

usage: make_artwork.py   (rewrites the .bmp files; they are kept in the tree)

129-131 the subject types beside their radio buttons (a hill, a tree, a
flower), 134-139 the ends of the auto-balance, midtones and colour sliders
(flat and contrasty, dark and bright, grey and colourful), 140 and 141 the
captions above the two views (the original and the enhanced image).
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
BACK = (192, 192, 192)


def write_bmp(path, width, height, pixel):
    """A 24-bit bottom-up BMP; pixel(x, y) gives (r, g, b) with y from the top."""
    row_bytes = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(row_bytes - len(row))
        rows.append(bytes(row))
    data = b''.join(rows)
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


def icon(name, draw, size=16):
    write_bmp(os.path.join(HERE, name), size, size, lambda x, y: draw(x, y) or BACK)


def hill(x, y):
    if y > 11 - 5 * math.cos((x - 8) / 5):
        return (40, 140, 40)
    if (x - 12) ** 2 + (y - 4) ** 2 < 6:
        return (240, 200, 0)
    return None


def tree(x, y):
    if 7 <= x <= 8 and y >= 10:
        return (120, 70, 20)
    if (x - 7.5) ** 2 + (y - 6) ** 2 < 22:
        return (30, 120, 30)
    return None


def flower(x, y):
    if 7 <= x <= 8 and y >= 9:
        return (30, 120, 30)
    d = (x - 7.5) ** 2 + (y - 5.5) ** 2
    if d < 3:
        return (240, 200, 0)
    if d < 16:
        return (220, 40, 120)
    return None


def ramp(contrast):
    def draw(x, y):
        v = 128 + int((x - 8) * 16 * contrast)
        v = max(0, min(255, v))
        return (v, v, v) if 3 <= y <= 12 else None
    return draw


def disc(level):
    def draw(x, y):
        return (level, level, level) if (x - 7.5) ** 2 + (y - 7.5) ** 2 < 36 else None
    return draw


def colour_bars(saturated):
    colours = [(200, 40, 40), (40, 180, 40), (40, 60, 200)]
    def draw(x, y):
        if not 2 <= y <= 13:
            return None
        c = colours[min(x // 6, 2)]
        if saturated:
            return c
        g = (c[0] + c[1] + c[2]) // 3
        return (g, g, g)
    return draw


def photo_caption(enhanced):
    # A small landscape picture, dull on the left caption and bright on the right.
    def draw(x, y):
        sky, ground = ((150, 170, 190), (90, 110, 80)) if not enhanced else ((90, 160, 255), (40, 170, 40))
        return sky if y < 9 else ground
    return draw


def main():
    icon('subject_landscape.bmp', hill)
    icon('subject_mid_details.bmp', tree)
    icon('subject_close_up.bmp', flower)
    icon('balance_flat.bmp', ramp(0.3))
    icon('balance_contrast.bmp', ramp(1.5))
    icon('midtones_dark.bmp', disc(50))
    icon('midtones_bright.bmp', disc(220))
    icon('colour_grey.bmp', colour_bars(False))
    icon('colour_vivid.bmp', colour_bars(True))
    icon('view_original.bmp', photo_caption(False))
    icon('view_enhanced.bmp', photo_caption(True))


if __name__ == '__main__':
    main()
