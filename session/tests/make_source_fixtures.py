#!/usr/bin/env python3
"""Writes the RGB TIFF files of the source-line tests with ImageMagick.

Usage: make_source_fixtures.py folder

source16.tif: 16 bits per sample, sample (x, y, c) = (2311 x + 977 y + 15013 c) mod 65536.
source8.tif: 8 bits per sample, sample (x, y, c) = (7 x + 13 y + 50 c) mod 256.
Both 23 x 17 pixels, uncompressed, interleaved.
"""
import os
import subprocess
import sys

import numpy as np

WIDTH, HEIGHT = 23, 17


def write(folder, name, samples, depth):
    raw = os.path.join(folder, name + ".raw")
    samples.tofile(raw)
    subprocess.run(["convert", "-size", f"{WIDTH}x{HEIGHT}", "-depth", str(depth), "-endian", "LSB", f"rgb:{raw}",
                    "-density", "300", "-units", "PixelsPerInch", "-compress", "none",
                    os.path.join(folder, name + ".tif")], check=True)
    os.remove(raw)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    y, x, c = np.mgrid[0:HEIGHT, 0:WIDTH, 0:3]
    write(folder, "source16", ((2311 * x + 977 * y + 15013 * c) % 65536).astype("<u2"), 16)
    write(folder, "source8", ((7 * x + 13 * y + 50 * c) % 256).astype("u1"), 8)
    return 0


if __name__ == "__main__":
    sys.exit(main())
