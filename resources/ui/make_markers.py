#!/usr/bin/env python3
"""Draws the preview's marker bitmaps (our own simple artwork) into markers/.

usage: make_markers.py   (rewrites markers/*.bmp; the files are kept in the tree)

Black strokes on white, 15 x 15 pixels, drawn with an AND raster operation so
that only the strokes show over the preview: 187 a point (small cross), 188
the focus point (cross in a ring), 424-427 the measuring points 1-4 (a box with
1-4 dots), 461-464 the fixed pipette points (a pipette tip with 1-4 dots).
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 15
C = SIZE // 2


def write_bmp(path, black):
    stride = (SIZE * 3 + 3) & ~3
    rows = b''
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        row = b''.join(b'\x00\x00\x00' if (x, y) in black else b'\xff\xff\xff' for x in range(SIZE))
        rows += row + b'\x00' * (stride - SIZE * 3)
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 14 + len(header) + len(rows), 0, 0, 14 + len(header)) + header + rows)


def cross(black, r):
    for d in range(-r, r + 1):
        black.add((C + d, C))
        black.add((C, C + d))


def ring(black, r):
    for x in range(SIZE):
        for y in range(SIZE):
            if abs(((x - C) ** 2 + (y - C) ** 2) ** 0.5 - r) < 0.6:
                black.add((x, y))


def dots(black, n):
    for i in range(n):
        black.add((2 + 3 * i, SIZE - 2))


def main():
    os.makedirs(os.path.join(HERE, 'markers'), exist_ok=True)
    point = set()
    cross(point, 4)
    write_bmp(os.path.join(HERE, 'markers', '187.bmp'), point)
    focus = set()
    cross(focus, 6)
    ring(focus, 5)
    write_bmp(os.path.join(HERE, 'markers', '188.bmp'), focus)
    for n in range(1, 5):
        box = {(x, y) for x in range(3, 12) for y in range(2, 11) if x in (3, 11) or y in (2, 10)}
        box.add((C, 6))
        dots(box, n)
        write_bmp(os.path.join(HERE, 'markers', f'{423 + n}.bmp'), box)
        tip = set()
        for i in range(8):
            tip.add((3 + i, 1 + i))
            tip.add((4 + i, 1 + i))
        dots(tip, n)
        write_bmp(os.path.join(HERE, 'markers', f'{460 + n}.bmp'), tip)


if __name__ == '__main__':
    main()
