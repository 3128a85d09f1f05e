#!/usr/bin/env python3
"""Draws the brightness-extremes marker and the Scan button's images (our own simple artwork) into faces/.

usage: make_faces.py   (rewrites faces/*.bmp; the files are kept in the tree)

305: the marker of the brightest or darkest pixel, 15 x 15, black strokes on white
(drawn masked over the preview): a ring with a dot in its centre.
330-332: the Scan button's images, 48 x 16, a row of colour swatches on the button
face colour: 330 red, green and blue; 331 the L*a*b* axes (grey, green-red,
blue-yellow); 332 cyan, magenta, yellow and black.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
FACE = (192, 192, 192)


def write_bmp(path, width, height, pixel):
    stride = (width * 3 + 3) & ~3
    rows = b''
    for y in range(height - 1, -1, -1):  # bottom-up
        row = b''.join(bytes(reversed(pixel(x, y))) for x in range(width))  # BGR
        rows += row + b'\x00' * (stride - width * 3)
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 14 + len(header) + len(rows), 0, 0, 14 + len(header)) + header + rows)


def marker(x, y):
    d = ((x - 7) ** 2 + (y - 7) ** 2) ** 0.5
    return (0, 0, 0) if abs(d - 6) < 0.7 or d < 1.5 else (255, 255, 255)


def swatches(colours):
    size, gap = 10, 2
    total = len(colours) * size + (len(colours) - 1) * gap
    left = (48 - total) // 2

    def pixel(x, y):
        i, offset = divmod(x - left, size + gap)
        if 0 <= x - left < total and offset < size and 3 <= y < 3 + size:
            edge = offset in (0, size - 1) or y in (3, 2 + size)
            colour = colours[i]
            return (0, 0, 0) if edge else (colour(offset, y - 3) if callable(colour) else colour)
        return FACE
    return pixel


def ramp(a, b):
    return lambda x, y: tuple(a[k] + (b[k] - a[k]) * x // 9 for k in range(3))


def main():
    out = os.path.join(HERE, 'faces')
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, '305.bmp'), 15, 15, marker)
    write_bmp(os.path.join(out, '330.bmp'), 48, 16, swatches([(220, 0, 0), (0, 180, 0), (0, 0, 220)]))
    write_bmp(os.path.join(out, '331.bmp'), 48, 16,
              swatches([ramp((0, 0, 0), (255, 255, 255)), ramp((0, 160, 0), (220, 0, 60)),
                        ramp((0, 60, 220), (240, 220, 0))]))
    write_bmp(os.path.join(out, '332.bmp'), 48, 16,
              swatches([(0, 170, 230), (220, 0, 140), (250, 230, 0), (0, 0, 0)]))


if __name__ == '__main__':
    main()
