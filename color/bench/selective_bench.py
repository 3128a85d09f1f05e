#!/usr/bin/env python3
"""The selective colour correction's speed beside the band producer's plain
read, in one run: writes a 10000 x 10000 48-bit RGB TIFF (100 megapixels)
once into DIR and runs color_selective_bench on it for 8 and 16 bits per
channel. A benchmark, not a test.

    selective_bench.py COLOR_SELECTIVE_BENCH [--dir DIR] [--size 10000]
"""
import argparse
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'session', 'bench'))
import scan_bench  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('bench')
    parser.add_argument('--dir', default='/tmp')
    parser.add_argument('--size', type=int, default=10000)
    args = parser.parse_args()
    path = os.path.join(args.dir, 'selective_bench_%d.tif' % args.size)
    if not os.path.exists(path):
        scan_bench.write_tiff(path, args.size, False)
    for bits in (8, 16):
        subprocess.run([args.bench, path, str(bits)], check=True)


if __name__ == '__main__':
    main()
