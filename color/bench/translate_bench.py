#!/usr/bin/env python3
"""Speed and memory of the output translation against tificc, in one run.

    translate_bench.py WINE_RUNNER BENCH_EXE PROFILE_FOLDER [--size 5000] [--runs 3] [--dir /dev/shm]

Writes a SIZE x SIZE 8-bit RGB image (gradients and noise) once, as raw RGB
for our program and as an uncompressed TIFF for tificc, then for RGB -> RGB
(wide.icc to gamma22.icc) and RGB -> CMYK (wide.icc to printer_cmyk.icc)
runs ours (color_translate_bench under Wine, band loop timed inside) and
tificc alternately, and prints the median times, the ratio ours / tificc and
our peak working set. A benchmark, not a test: nothing passes or fails."""
import argparse
import os
import statistics
import subprocess
import time

import numpy as np


def write_image(folder, size):
    raw, tif = os.path.join(folder, 'bench.rgb'), os.path.join(folder, 'bench.tif')
    if not os.path.exists(tif):
        rng = np.random.default_rng(7)
        with open(raw, 'wb') as out:
            x = np.arange(size) / (size - 1)
            for top in range(0, size, 500):
                y = (np.arange(top, min(top + 500, size)) / (size - 1))[:, None]
                noise = rng.integers(0, 32, (y.shape[0], size, 3))
                base = np.stack([x + 0 * y, y + 0 * x, (x + y) / 2], axis=-1) * 223
                out.write((base + noise).astype(np.uint8).tobytes())
        subprocess.run(['convert', '-size', '%dx%d' % (size, size), '-depth', '8', 'rgb:' + raw, '-compress', 'none',
                        tif], check=True)
    return raw, tif


def windows_path(path):
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('runner')
    parser.add_argument('bench')
    parser.add_argument('profiles')
    parser.add_argument('--size', type=int, default=5000)
    parser.add_argument('--runs', type=int, default=3)
    parser.add_argument('--dir', default='/dev/shm')
    args = parser.parse_args()
    raw, tif = write_image(args.dir, args.size)
    internal = os.path.join(args.profiles, 'wide.icc')
    for case, target in (('rgb', 'gamma22.icc'), ('cmyk', 'printer_cmyk.icc')):
        output = os.path.join(args.profiles, target)
        ours, peer, peaks = [], [], []
        for _ in range(args.runs):
            done = subprocess.run([args.runner, args.bench, windows_path(raw), str(args.size), str(args.size),
                                   windows_path(internal), windows_path(output), case,
                                   windows_path(os.path.join(args.dir, 'bench.out'))],
                                  capture_output=True, text=True, check=True)
            seconds, peak = map(float, done.stdout.split()[:2])
            ours.append(seconds)
            peaks.append(peak)
            start = time.monotonic()
            subprocess.run(['tificc', '-t0', '-i' + internal, '-o' + output, tif,
                            os.path.join(args.dir, 'bench_tificc.tif')], check=True, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            peer.append(time.monotonic() - start)
        ratios = [a / b for a, b in zip(ours, peer)]
        print('RGB -> %-5s ours %.2f s (peak working set %.0f MB), tificc %.2f s, ratio %.2f'
              % (case.upper(), statistics.median(ours), max(peaks), statistics.median(peer),
                 statistics.median(ratios)))
    for name in ('bench.out', 'bench_tificc.tif'):
        path = os.path.join(args.dir, name)
        if os.path.exists(path):
            os.remove(path)


if __name__ == '__main__':
    main()
