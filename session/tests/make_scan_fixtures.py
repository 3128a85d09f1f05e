#!/usr/bin/env python3
"""Writes the images of the band-producer tests into the given folder with the reader
tests' own TIFF composer (each NAME.tif with its NAME.expect): sizes chosen so that a
scan takes more than one band, and the two widths whose read sizes are pinned."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'readers', 'tests'))
import make_tiff_fixtures as tiff  # noqa: E402

IMAGES = [
    # name, width, height, samples per pixel, bits
    ('scan_rgb48', 640, 300, 3, 16),
    ('scan_grey16', 600, 1000, 1, 16),
    ('scan_rgb24', 3000, 120, 3, 8),
    ('scan_grey8', 40000, 30, 1, 8),
    ('scan_small_rgb24', 37, 23, 3, 8),
    ('scan_small_grey8', 37, 23, 1, 8),
]


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, width, height, spp, bits in IMAGES:
        if not os.path.exists(os.path.join(out, name + '.expect')):
            tiff.striped(name, width, height, spp, bits, rows_per_strip=16, out=out)


if __name__ == '__main__':
    main()
