#!/usr/bin/env python3
"""Speed of the colour cube and twelve-colour matrix kernels against
ImageMagick applying the same cube as a Hald lookup image (-hald-clut) to the
same RGB image, in one run.

    cube_bench.py BENCH_EXE [--size 5000] [--runs 3] [--dir /dev/shm]

Writes a SIZE x SIZE 8-bit RGB image (25 megapixels by default) as raw RGB,
has color_cube_bench write its cube as a Hald image of level 6, runs ours,
ImageMagick with the lookup and ImageMagick only reading and writing the raw
image, alternately, and prints the median times and the ratios ours /
ImageMagick, against its whole run and against its run less the plain
read and write. A benchmark, not a test: nothing passes or fails."""
import argparse
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from translate_bench import write_image  # noqa: E402

NAMES = ('ApplyColorCube8', 'ApplyColorCube16', 'ApplyColorMatrix8', 'ApplyColorMatrix16')


def timed(command):
    start = time.monotonic()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.monotonic() - start


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('bench')
    parser.add_argument('--size', type=int, default=5000)
    parser.add_argument('--runs', type=int, default=3)
    parser.add_argument('--dir', default='/dev/shm')
    args = parser.parse_args()
    raw, _ = write_image(args.dir, args.size)
    hald = os.path.join(args.dir, 'bench_hald.ppm')
    out = os.path.join(args.dir, 'bench_hald_out.rgb')
    subprocess.run([args.bench, '--hald', hald], check=True)
    source = ['convert', '-size', '%dx%d' % (args.size, args.size), '-depth', '8', 'rgb:' + raw]
    ours, lookup, copy = [], [], []
    for _ in range(args.runs):
        done = subprocess.run([args.bench, raw, str(args.size), str(args.size)], capture_output=True, text=True,
                              check=True)
        ours.append([float(v) for v in done.stdout.split()[:4]])
        lookup.append(timed(source + [hald, '-hald-clut', '-depth', '8', 'rgb:' + out]))
        copy.append(timed(source + ['-depth', '8', 'rgb:' + out]))
    megapixels = args.size * args.size / 1e6
    peer, plain = statistics.median(lookup), statistics.median(copy)
    print('%.1f megapixels; ImageMagick -hald-clut %.2f s (plain read and write %.2f s, lookup alone ~%.2f s)'
          % (megapixels, peer, plain, peer - plain))
    for k, name in enumerate(NAMES):
        t = statistics.median(run[k] for run in ours)
        print('%-18s %.3f s (%.0f MP/s), ratio to -hald-clut %.3f, to its lookup alone %.3f'
              % (name, t, megapixels / t, t / peer, t / max(peer - plain, 1e-9)))
    os.remove(out)


if __name__ == '__main__':
    main()
