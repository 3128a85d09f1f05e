#!/usr/bin/env python3
"""Prescan speed and memory against vipsthumbnail and ImageMagick, measured in one run.

    prescan_bench.py PRESCAN_BENCH [--runner WINE_RUNNER] [--dir DIR] [--runs N] [--size 10000] [--side 1000]

Writes a 48-bit RGB TIFF of SIZE x SIZE into DIR once (as scan_bench.py does), then prescans it into a
preview of SIDE pixels with our program (session_prescan_bench; under Wine through the runner when one is
given) with factor 1, and factor 3 with the 16-bit store, alternately with the peers on the same file:
vipsthumbnail to SIDE pixels and ImageMagick's -sample to SIDE pixels. Prints the median time and peak
memory of each and the median of the per-pair ratios (ours / peer), and the prescan's own time as our
program measures it (without the start of the process, which under Wine is most of a second). A benchmark,
not a test.
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from scan_bench import SHM, run, write_tiff  # noqa: E402


def run_ours(command):
    """Wall time, peak memory (MB) and the prescan's own time that the program prints."""
    start = time.monotonic()
    done = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, capture_output=True, text=True)
    seconds = time.monotonic() - start
    if done.returncode != 0:
        sys.exit("failed: %s\n%s%s" % (" ".join(command), done.stdout, done.stderr))
    return seconds, int(done.stderr.split()[-1]) / 1024.0, float(done.stdout.split()[0])


def windows_path(path):
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('bench')
    parser.add_argument('--runner', default='')
    parser.add_argument('--dir', default='/tmp/zir_prescan_bench')
    parser.add_argument('--runs', type=int, default=3)
    parser.add_argument('--size', type=int, default=10000)
    parser.add_argument('--side', type=int, default=1000)
    args = parser.parse_args()
    os.makedirs(args.dir, exist_ok=True)
    image = os.path.join(args.dir, 'prescan%d.tif' % args.size)
    if not os.path.exists(image):
        write_tiff(image, args.size, False)

    def ours(*extra):
        file = windows_path(image) if args.runner else image
        return ([args.runner] if args.runner else []) + [args.bench, file, str(args.side)] + list(extra)

    side = '%dx%d' % (args.side, args.side)
    peers = [('vipsthumbnail', ['vipsthumbnail', image, '-s', side, '-o', os.path.join(SHM, 'zir_prescan.v')]),
             ('ImageMagick -sample', ['convert', image, '-sample', side, os.path.join(SHM, 'zir_prescan.ppm')])]
    cases = [('factor 1', ours('1')), ('factor 3, 16-bit store', ours('3', 'store16'))]
    print('| case | peer | ours s | prescan s | peer s | ours MB | peer MB | ratio | prescan ratio |')
    print('|---|---|---|---|---|---|---|---|---|')
    for name, command in cases:
        for peer_name, peer in peers:
            mine, theirs = [], []
            for _ in range(args.runs):
                mine.append(run_ours(command))
                theirs.append(run(peer))
            ratio = statistics.median(a[0] / b[0] for a, b in zip(mine, theirs))
            own = statistics.median(a[2] / b[0] for a, b in zip(mine, theirs))
            print('| %s | %s | %.3f | %.3f | %.3f | %.1f | %.1f | %.2fx | %.2fx |' % (
                name, peer_name, statistics.median(m[0] for m in mine), statistics.median(m[2] for m in mine),
                statistics.median(t[0] for t in theirs), max(m[1] for m in mine), max(t[1] for t in theirs), ratio,
                own))


if __name__ == '__main__':
    main()
