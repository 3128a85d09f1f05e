#!/usr/bin/env python3
"""Draws the subject dialog's slider symbols (our own simple artwork) into this folder.

usage: make_artwork.py   (rewrites the .bmp files; they are kept in the tree)
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 20
BLACK, WHITE, GREY, FACE = (0, 0, 0), (255, 255, 255), (128, 128, 128), (192, 192, 192)


def write_bmp(name, pixel):
    """24-bit bottom-up BMP; pixel(x, y) gives (r, g, b) with y from the top."""
    row = SIZE * 3
    pad = (4 - row % 4) % 4
    data = bytearray()
    for y in reversed(range(SIZE)):
        for x in range(SIZE):
            r, g, b = pixel(x, y)
            data += bytes((b, g, r))
        data += bytes(pad)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(header + info + data)


def contrast(x, y):
    """A circle, black on the left half, white on the right."""
    dx, dy = x - 9.5, y - 9.5
    if dx * dx + dy * dy > 81:
        return FACE
    if dx * dx + dy * dy > 64:
        return BLACK
    return BLACK if dx < 0 else WHITE


def brightness(x, y):
    """A sun: a white disc with rays."""
    dx, dy = x - 9.5, y - 9.5
    d = dx * dx + dy * dy
    if d <= 16:
        return WHITE if d <= 9 else BLACK
    if d <= 72 and (abs(dx) < 1 or abs(dy) < 1 or abs(abs(dx) - abs(dy)) < 1):
        return BLACK
    return FACE


def ramp(light):
    """A wedge from dark to light; the marked end shows which tones move."""
    def pixel(x, y):
        if y < 4 or y > 15:
            return FACE
        level = x * 255 // (SIZE - 1)
        marked = (x >= 14) if light else (x <= 5)
        if marked and (y == 4 or y == 15):
            return BLACK
        return (level, level, level)
    return pixel


if __name__ == "__main__":
    write_bmp("contrast.bmp", contrast)
    write_bmp("brightness.bmp", brightness)
    write_bmp("highlights.bmp", ramp(True))
    write_bmp("shadows.bmp", ramp(False))
