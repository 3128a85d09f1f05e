#!/usr/bin/env python3
"""Makes the JPEG fixtures of the libjpeg build check: a colour ramp as an
8-bit and a 12-bit PPM, each compressed by the cjpeg of the matching build.
    make_jpeg_fixtures.py <cjpeg 8-bit> <cjpeg 12-bit> [runner]"""
import subprocess
import sys

WIDTH, HEIGHT = 64, 32


def ramp(maxval):
    # Red across, green down, blue constant: smooth, so JPEG keeps it close.
    for y in range(HEIGHT):
        for x in range(WIDTH):
            yield x * maxval // (WIDTH - 1), y * maxval // (HEIGHT - 1), maxval // 2


def write_ppm(path, maxval):
    samples = bytearray()
    for pixel in ramp(maxval):
        for v in pixel:
            samples += bytes([v]) if maxval < 256 else v.to_bytes(2, "big")
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n%d\n" % (WIDTH, HEIGHT, maxval) + samples)


def main():
    cjpeg8, cjpeg12 = sys.argv[1:3]
    runner = sys.argv[3:]
    write_ppm("ramp8.ppm", 255)
    write_ppm("ramp12.ppm", 4095)
    for cjpeg, name in ((cjpeg8, "ramp8"), (cjpeg12, "ramp12")):
        subprocess.run(runner + [cjpeg, "-quality", "100", "-outfile", name + ".jpg", name + ".ppm"], check=True)


if __name__ == "__main__":
    main()
