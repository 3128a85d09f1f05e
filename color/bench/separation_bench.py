#!/usr/bin/env python3
"""Speed of the separation kernels against tificc converting the same RGB
image to CMYK, in one run.

    separation_bench.py BENCH_EXE CMYK_PROFILE [--size 5000] [--runs 3] [--dir /dev/shm]

Writes a SIZE x SIZE 8-bit RGB image (25 megapixels by default) as raw RGB
for color_separation_bench and as an uncompressed TIFF for tificc (sRGB to
the CMYK profile), runs both alternately and prints the median times and the
ratios ours / tificc. A benchmark, not a test: nothing passes or fails."""
import argparse
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from translate_bench import write_image  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('bench')
    parser.add_argument('profile')
    parser.add_argument('--size', type=int, default=5000)
    parser.add_argument('--runs', type=int, default=3)
    parser.add_argument('--dir', default='/dev/shm')
    args = parser.parse_args()
    raw, tif = write_image(args.dir, args.size)
    planar, lab, peer = [], [], []
    out = os.path.join(args.dir, 'bench_tificc.tif')
    for _ in range(args.runs):
        done = subprocess.run([args.bench, raw, str(args.size), str(args.size)], capture_output=True, text=True,
                              check=True)
        a, b = map(float, done.stdout.split()[:2])
        planar.append(a)
        lab.append(b)
        start = time.monotonic()
        subprocess.run(['tificc', '-t0', '-i*sRGB', '-o' + args.profile, tif, out], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        peer.append(time.monotonic() - start)
    megapixels = args.size * args.size / 1e6
    tificc = statistics.median(peer)
    print('%.1f megapixels; tificc RGB -> CMYK %.2f s' % (megapixels, tificc))
    for name, times in (('SeparateLinePlanar8', planar), ('SeparateLine16To8', lab)):
        print('%-20s %.3f s (%.0f MP/s), ratio to tificc %.3f'
              % (name, statistics.median(times), megapixels / statistics.median(times),
                 statistics.median([a / b for a, b in zip(times, peer)])))
    if os.path.exists(out):
        os.remove(out)


if __name__ == '__main__':
    main()
