#!/usr/bin/env python3
"""Draws the main window's icon and cursors (our own simple artwork) into this folder.

usage: make_artwork.py   (rewrites main.ico and cursors/*.cur; the files are kept in the tree)
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def line(pixels, x0, y0, x1, y1):
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(steps + 1):
        pixels.add((x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps))


def arrow(pixels, cx, cy, dx, dy, length=10):
    """A line from the centre with a head at its far end."""
    ex, ey = cx + dx * length, cy + dy * length
    line(pixels, cx, cy, ex, ey)
    # The head: two strokes back from the tip.
    px, py = -dy, dx
    line(pixels, ex, ey, ex - dx * 4 + px * 4, ey - dy * 4 + py * 4)
    line(pixels, ex, ey, ex - dx * 4 - px * 4, ey - dy * 4 - py * 4)


def cross(pixels, c=15, r=10):
    line(pixels, c - r, c, c + r, c)
    line(pixels, c, c - r, c, c + r)


def box(pixels, x0, y0, x1, y1):
    line(pixels, x0, y0, x1, y0)
    line(pixels, x1, y0, x1, y1)
    line(pixels, x1, y1, x0, y1)
    line(pixels, x0, y1, x0, y0)


def pointer(pixels):
    for y in range(14):
        line(pixels, 0, y, y // 2, y)
    line(pixels, 0, 0, 0, 13)
    line(pixels, 0, 0, 9, 9)


def shapes():
    def both(*parts):
        def draw(p):
            for part in parts:
                part(p)
        return draw
    return {
        # frame editing: edges and corners, inside, other frame, empty area
        124: (both(lambda p: arrow(p, 15, 15, 1, 0), lambda p: arrow(p, 15, 15, -1, 0)), (15, 15)),
        125: (both(lambda p: arrow(p, 15, 15, 0, 1), lambda p: arrow(p, 15, 15, 0, -1)), (15, 15)),
        126: (both(lambda p: arrow(p, 15, 15, 1, 1, 7), lambda p: arrow(p, 15, 15, -1, -1, 7)), (15, 15)),
        227: (both(*[lambda p, d=d: arrow(p, 15, 15, d[0], d[1]) for d in ((1, 0), (-1, 0), (0, 1), (0, -1))]),
              (15, 15)),
        118: (both(pointer, lambda p: box(p, 14, 14, 26, 24)), (0, 0)),
        127: (both(cross, lambda p: box(p, 18, 18, 28, 28)), (15, 15)),
        # pick, focus and measuring cursors
        121: (both(cross, lambda p: box(p, 12, 12, 18, 18)), (15, 15)),
        122: (both(cross, lambda p: line(p, 18, 18, 28, 28)), (15, 15)),
        264: (both(cross, lambda p: line(p, 18, 28, 28, 18)), (15, 15)),
        226: (both(cross, lambda p: box(p, 9, 9, 21, 21)), (15, 15)),
        428: (both(cross, lambda p: box(p, 13, 13, 17, 17)), (15, 15)),
        429: (both(cross, *[lambda p, d=d: line(p, 15, 15, 15 + d[0] * 12, 15 + d[1] * 12)
                            for d in ((1, 1), (-1, 1), (1, -1), (-1, -1))]), (15, 15)),
        430: (both(cross, lambda p: box(p, 11, 11, 19, 19), lambda p: box(p, 12, 12, 18, 18)), (15, 15)),
        # filmstrip offset by direction
        415: (lambda p: arrow(p, 15, 25, 0, -1, 20), (15, 5)),
        416: (lambda p: arrow(p, 15, 5, 0, 1, 20), (15, 25)),
        417: (lambda p: arrow(p, 25, 15, -1, 0, 20), (5, 15)),
        418: (lambda p: arrow(p, 5, 15, 1, 0, 20), (25, 15)),
    }


def thicken(pixels):
    """A white outline around the black strokes, so the cursor shows on any background."""
    outline = set()
    for x, y in pixels:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if 0 <= x + dx < 32 and 0 <= y + dy < 32:
                    outline.add((x + dx, y + dy))
    return outline


def monochrome_image(black, visible):
    """The 32 x 32 XOR and AND masks of a 1-bit image, bottom-up rows of 4 bytes."""
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<II', 0x000000, 0xFFFFFF)
    xor, mask = b'', b''
    for y in range(31, -1, -1):
        xr = ar = 0
        for x in range(32):
            bit = 1 << (31 - x)
            if (x, y) not in visible:
                ar |= bit
            elif (x, y) not in black:
                xr |= bit
        xor += struct.pack('>I', xr)
        mask += struct.pack('>I', ar)
    return header + palette + xor + mask


def write_resource(path, kind, image, hotspot):
    # kind 1 icon, 2 cursor; the directory entry holds planes/bits or the hotspot.
    a, b = (1, 1) if kind == 1 else hotspot
    data = struct.pack('<HHH', 0, kind, 1) + struct.pack('<BBBBHHII', 32, 32, 2, 0, a, b, len(image), 22) + image
    with open(path, 'wb') as f:
        f.write(data)


def main():
    for cid, (draw, hotspot) in shapes().items():
        pixels = set()
        draw(pixels)
        pixels = {(x, y) for x, y in pixels if 0 <= x < 32 and 0 <= y < 32}
        write_resource(os.path.join(HERE, 'cursors', '%d.cur' % cid), 2, monochrome_image(pixels, thicken(pixels)),
                       hotspot)
    # The icon: a preview frame with a small picture in it.
    pixels = set()
    box(pixels, 2, 4, 29, 27)
    box(pixels, 3, 5, 28, 26)
    line(pixels, 5, 24, 13, 12)
    line(pixels, 13, 12, 19, 20)
    line(pixels, 19, 20, 22, 16)
    line(pixels, 22, 16, 26, 24)
    box(pixels, 21, 8, 24, 11)
    inside = {(x, y) for x in range(2, 30) for y in range(4, 28)}
    write_resource(os.path.join(HERE, 'main.ico'), 1, monochrome_image(pixels, inside), None)


if __name__ == '__main__':
    main()
