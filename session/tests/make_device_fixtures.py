#!/usr/bin/env python3
"""Writes the image files of the device-layer tests into the given folder, with the
reader tests' own TIFF composer: a 48-bit colour scan at 300 dpi, grey images at
72 and 40 dpi, seven small images for the recent-image list (and one of the same
name in a sub-folder), and a file that is no TIFF."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'readers', 'tests'))
import make_tiff_fixtures as tiff  # noqa: E402


def dpi(value):
    return {296: (tiff.SHORT, [2]), 282: (tiff.RATIONAL, [(value, 1)]), 283: (tiff.RATIONAL, [(value, 1)])}


def main():
    out = sys.argv[1]
    os.makedirs(os.path.join(out, 'other'), exist_ok=True)
    tiff.striped('rgb48', 64, 40, 3, 16, rows_per_strip=8, out=out, extra=dpi(300))
    tiff.striped('grey72', 20, 10, 1, 8, out=out, extra=dpi(72))
    tiff.striped('grey40', 20, 10, 1, 8, out=out, extra=dpi(40))
    for i in range(1, 8):
        tiff.striped('img%d' % i, 4, 3, 1, 8, out=out, extra=dpi(100), expect=False)
    tiff.striped('img1', 6, 5, 1, 8, out=os.path.join(out, 'other'), extra=dpi(100), expect=False)
    with open(os.path.join(out, 'broken.tif'), 'wb') as f:
        f.write(b'not an image at all')


if __name__ == '__main__':
    main()
