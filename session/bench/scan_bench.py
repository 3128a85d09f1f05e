#!/usr/bin/env python3
"""Scan speed and memory against vips, measured in one run.

    scan_bench.py SCAN_BENCH [--before OLD_SCAN_BENCH] [--dir DIR] [--runs N] [--sizes 10000,5000] [--cases ...]

Writes 48-bit RGB TIFFs (gradients and noise, little- and big-endian) into DIR
once, then for every case runs our scan (SCAN_BENCH, the session_scan_bench
program of a native Release build) and the peer alternately on the same file,
N times each, and prints the median time and peak memory of each and the
median of the per-pair time ratios (ours / peer). With --before, an older
build's program runs in the same rotation and gets columns of its own.
Peers write to /dev/shm. This is a benchmark, not a test: nothing here passes or fails.
"""
import argparse
import os
import statistics
import struct
import subprocess
import sys
import time

import numpy as np

ROWS_PER_STRIP = 8
SHM = "/dev/shm"


def write_tiff(path, size, big_endian):
    """An uncompressed chunky RGB TIFF of 16-bit samples."""
    order = ">" if big_endian else "<"
    row_bytes = size * 6
    strips = (size + ROWS_PER_STRIP - 1) // ROWS_PER_STRIP
    tags = 11
    ifd = 8
    bits_at = ifd + 2 + tags * 12 + 4
    offsets_at = bits_at + 6
    counts_at = offsets_at + 4 * strips
    data_at = counts_at + 4 * strips
    entries = [
        (256, 4, 1, size), (257, 4, 1, size), (258, 3, 3, bits_at), (259, 3, 1, 1), (262, 3, 1, 2),
        (273, 4, strips, offsets_at), (277, 3, 1, 3), (278, 4, 1, ROWS_PER_STRIP), (279, 4, strips, counts_at),
        (284, 3, 1, 1), (296, 3, 1, 1),
    ]
    head = (b"MM" if big_endian else b"II") + struct.pack(order + "HI", 42, ifd) + struct.pack(order + "H", tags)
    for tag, kind, count, value in entries:
        if kind == 3 and count == 1:
            head += struct.pack(order + "HHIHH", tag, kind, count, value, 0)
        else:
            head += struct.pack(order + "HHII", tag, kind, count, value)
    head += struct.pack(order + "I", 0) + struct.pack(order + "3H", 16, 16, 16)
    starts = [data_at + s * ROWS_PER_STRIP * row_bytes for s in range(strips)]
    counts = [min(ROWS_PER_STRIP, size - s * ROWS_PER_STRIP) * row_bytes for s in range(strips)]
    head += struct.pack(order + "%dI" % strips, *starts) + struct.pack(order + "%dI" % strips, *counts)
    rng = np.random.default_rng(7)
    x = np.arange(size, dtype=np.float64) / max(size - 1, 1)
    with open(path + ".part", "wb") as out:
        out.write(head)
        for top in range(0, size, 256):
            y = (np.arange(top, min(top + 256, size), dtype=np.float64) / max(size - 1, 1))[:, None]
            shape = (y.shape[0], size)
            planes = [np.broadcast_to(x * 60000, shape), np.broadcast_to(y * 60000, shape), (x + y) * 30000]
            block = np.stack(planes, axis=-1) + rng.normal(0, 1500, shape + (3,))
            out.write(np.clip(block, 0, 65535).astype(order + "u2").tobytes())
    os.replace(path + ".part", path)


def write_lut(path):
    """The 16-to-8-bit tone table as a 65536 x 1 three-band image (its values do not change the peer's time)."""
    ramp = np.round(255 * (np.arange(65536) / 65535.0) ** (1 / 1.8)).astype(np.uint8)
    with open(path, "wb") as out:
        out.write(b"P6\n65536 1\n255\n" + np.repeat(ramp, 3).tobytes())


def run(command, env=None):
    """Wall time and peak memory (MB) of one process, by GNU time: a child of
    this (large) process would report this process's peak as its own."""
    start = time.monotonic()
    done = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, capture_output=True, text=True, env=env)
    seconds = time.monotonic() - start
    if done.returncode != 0:
        sys.exit("failed: %s\n%s%s" % (" ".join(command), done.stdout, done.stderr))
    return seconds, int(done.stderr.split()[-1]) / 1024.0


def cases(image, size, lut):
    """(name, our arguments, peer name, peer command, peer environment)."""
    out = os.path.join(SHM, "scan_bench_peer.v")
    one = dict(os.environ, VIPS_CONCURRENCY="1")
    third = size // 3 + (1 if size % 3 else 0)
    ours = lambda percent, bits, mode: [image, str(percent), str(bits), mode]
    return [
        ("100% 8 bit", ours(100, 8, "fast"), "vips maplut 1 thread", ["vips", "maplut", image, out, lut], one),
        ("100% 8 bit", ours(100, 8, "fast"), "vips maplut", ["vips", "maplut", image, out, lut], None),
        ("100% 16 bit", ours(100, 16, "fast"), "vips copy", ["vips", "copy", image, out], None),
        ("50% fast", ours(50, 8, "fast"), "vips resize linear",
         ["vips", "resize", image, out, "0.5", "--kernel", "linear"], None),
        ("33% fast", ours(33, 8, "fast"), "vips resize linear",
         ["vips", "resize", image, out, "0.33", "--kernel", "linear"], None),
        ("50% filtered", ours(50, 8, "filtered"), "vips resize lanczos3", ["vips", "resize", image, out, "0.5"], None),
        ("33% filtered", ours(33, 8, "filtered"), "vipsthumbnail",
         ["vipsthumbnail", image, "-s", "%dx%d" % (third, third), "-o", out], None),
    ]


def median_time(runs):
    return statistics.median(r[0] for r in runs)


def peak(runs):
    return max(r[1] for r in runs)


def median_ratio(runs, peer_runs):
    return statistics.median(o[0] / p[0] for o, p in zip(runs, peer_runs))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scan_bench")
    parser.add_argument("--before", help="an older build's session_scan_bench, measured in the same rotation")
    parser.add_argument("--dir", default="scan_bench_images")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--sizes", default="10000,5000")
    parser.add_argument("--orders", default="II,MM")
    parser.add_argument("--cases", default="", help="comma-separated case names (prefix match); all when empty")
    args = parser.parse_args()
    os.makedirs(args.dir, exist_ok=True)
    lut = os.path.join(args.dir, "tone_lut.ppm")
    if not os.path.exists(lut):
        write_lut(lut)
    wanted = [c.strip() for c in args.cases.split(",") if c.strip()]

    head = "%-12s %-5s %-5s %-20s %7s %7s %7s %7s %6s" % (
        "case", "size", "order", "peer", "ours s", "peer s", "ours MB", "peer MB", "ratio")
    if args.before:
        head += " %8s %9s %6s" % ("before s", "before MB", "ratio")
    print(head)
    for size in [int(s) for s in args.sizes.split(",")]:
        for order in args.orders.split(","):
            image = os.path.join(args.dir, "rgb48_%d_%s.tif" % (size, order))
            if not os.path.exists(image):
                write_tiff(image, size, order == "MM")
            for name, ours, peer_name, peer, env in cases(image, size, lut):
                if wanted and not any(name.startswith(w) for w in wanted):
                    continue
                run([args.scan_bench] + ours)  # warm the page cache
                ours_runs, peer_runs, before_runs = [], [], []
                for _ in range(args.runs):
                    ours_runs.append(run([args.scan_bench] + ours))
                    peer_runs.append(run(peer, env))
                    if args.before:
                        before_runs.append(run([args.before] + ours))
                line = "%-12s %-5d %-5s %-20s %7.3f %7.3f %7.1f %7.1f %5.2fx" % (
                    name, size, order, peer_name, median_time(ours_runs), median_time(peer_runs),
                    peak(ours_runs), peak(peer_runs), median_ratio(ours_runs, peer_runs))
                if args.before:
                    line += " %8.3f %9.1f %5.2fx" % (median_time(before_runs), peak(before_runs),
                                                     median_ratio(before_runs, peer_runs))
                print(line, flush=True)
    for leftover in ("scan_bench_peer.v",):
        path = os.path.join(SHM, leftover)
        if os.path.exists(path):
            os.remove(path)


if __name__ == "__main__":
    main()
