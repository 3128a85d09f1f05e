#!/usr/bin/env python3
"""Draws the job list's row pictures (our own simple artwork) into this folder:
14 x 15 pictures of what an entry does and 9 x 9 status marks.

usage: make_artwork.py   (rewrites the .bmp files; they are kept in the tree)
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
BLACK, WHITE, FACE = (0, 0, 0), (255, 255, 255), (192, 192, 192)
RED, GREEN, BLUE = (220, 0, 0), (0, 160, 0), (0, 0, 220)
CYAN, MAGENTA, YELLOW = (0, 170, 220), (210, 0, 140), (240, 220, 0)


def write_bmp(name, width, height, pixel):
    """24-bit bottom-up BMP; pixel(x, y) gives (r, g, b) with y from the top."""
    pad = (4 - width * 3 % 4) % 4
    data = bytearray()
    for y in reversed(range(height)):
        for x in range(width):
            r, g, b = pixel(x, y)
            data += bytes((b, g, r))
        data += bytes(pad)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(header + info + data)


def framed(inner):
    """A black frame round the 14 x 15 picture, the inner drawing inside."""
    def pixel(x, y):
        if x in (0, 13) or y in (0, 14):
            return BLACK
        return inner(x, y)
    return pixel


def auto(x, y):
    """An "A": the automatic adjustment runs first."""
    if y >= 3 and y <= 11 and (abs(x - 6.5) * 2 + 0.5 >= (y - 3) * 0.9 and abs(x - 6.5) * 2 - 1.5 <= (y - 3) * 0.9):
        return BLACK
    return BLACK if y == 8 and 4 <= x <= 9 else WHITE


def gradation(x, y):
    """A rising curve."""
    curve = 12 - int(10 * ((x - 1) / 11) ** 0.6)
    return BLACK if 1 <= x <= 12 and abs(y - curve) <= 0 else WHITE


def colour(x, y):
    """Three colour dots."""
    for cx, cy, c in ((4, 5, RED), (9, 5, GREEN), (6.5, 9.5, BLUE)):
        if (x - cx) ** 2 + (y - cy) ** 2 <= 5:
            return c
    return WHITE


def bars(colours):
    def pixel(x, y):
        band = (x - 1) * len(colours) // 12
        return colours[min(band, len(colours) - 1)] if 2 <= y <= 12 else WHITE
    return pixel


def lab(x, y):
    """An "L" and a grey ramp."""
    if (x == 3 and 2 <= y <= 10) or (y == 10 and 3 <= x <= 7):
        return BLACK
    return (x * 18, x * 18, x * 18) if y >= 12 else WHITE


def mark(shape, colour):
    def pixel(x, y):
        return colour if shape(x, y) else WHITE
    return pixel


def running(x, y):
    """A triangle pointing right."""
    return 1 <= x <= 7 and abs(y - 4) <= (x - 1) * 0.6


def written(x, y):
    """A tick."""
    return (x <= 3 and y == x + 4) or (x >= 3 and y == 10 - x) or (x <= 3 and y == x + 3) or (x >= 3 and y == 9 - x)


def failed(x, y):
    """A cross."""
    return abs(x - y) <= 0 or abs(x + y - 8) <= 0 or abs(x - y) == 1 and 1 <= x <= 7 and 1 <= y <= 7


def main():
    write_bmp("auto.bmp", 14, 15, framed(auto))                                   # 358
    write_bmp("running.bmp", 9, 9, mark(running, (230, 160, 0)))                  # 359
    write_bmp("cmyk.bmp", 14, 15, framed(bars([CYAN, MAGENTA, YELLOW, BLACK])))   # 360
    write_bmp("failed.bmp", 9, 9, mark(failed, RED))                              # 361
    write_bmp("gradation.bmp", 14, 15, framed(gradation))                         # 362
    write_bmp("lab.bmp", 14, 15, framed(lab))                                     # 363
    write_bmp("written.bmp", 9, 9, mark(written, GREEN))                          # 364
    write_bmp("rgb.bmp", 14, 15, framed(bars([RED, GREEN, BLUE])))                # 365
    write_bmp("colour.bmp", 14, 15, framed(colour))                               # 366


if __name__ == "__main__":
    main()
