#!/usr/bin/env python3
"""The selective colour engine against a numpy model in floating point,
written from its definition: CMY amounts of each source colour measured from
the unchanged pixel, the cell's adjustment trunc(a x p x 0.01 + 0.5) (the
16-bit path through the gain rounded to f32), added to the target's inks,
one clamp at the end. Random matrices over random colours and sweeps of one
channel with the others fixed, 8 and 16 bits; every sample must agree.

Usage: selective_reference.py [runner...] selective_tool
"""
import os
import subprocess
import sys

import numpy as np

# Inks (C, M, Y) that a target colour adds to: red, green, blue, cyan, magenta, yellow.
TARGET_INKS = [(1, 2), (0, 2), (0, 1), (0,), (1,), (2,)]


def amounts(source, c, m, y):
    return [np.minimum(m, y) - c, np.minimum(c, y) - m, np.minimum(c, m) - y,
            c - np.maximum(m, y), m - np.maximum(c, y), y - np.maximum(c, m)][source]


def correct(matrix, rgb, top):
    c, m, y = (top - rgb.astype(np.float64))
    inks = [c.copy(), m.copy(), y.copy()]
    for source in range(6):
        a = amounts(source, c, m, y)
        for target in range(6):
            p = int(matrix[source, target])
            if p == 0:
                continue
            factor = p * 0.01 if top == 255 else float(np.float32(p * 0.01))
            d = np.where(a > 0, np.trunc(a * factor + 0.5), 0)
            for ink in TARGET_INKS[target]:
                inks[ink] += d
    return np.array([top - np.clip(ink, 0, top) for ink in inks]).astype(np.int64)


def colours(rng, top):
    random = rng.integers(0, top + 1, (3, 4000))
    sweeps = []
    steps = np.arange(0, top + 1, max(1, (top + 1) // 256))
    for channel in range(3):
        for fixed in rng.integers(0, top + 1, (6, 2)):
            sweep = np.empty((3, steps.size), dtype=np.int64)
            others = [c for c in range(3) if c != channel]
            sweep[channel] = steps
            sweep[others[0]] = fixed[0]
            sweep[others[1]] = fixed[1]
            sweeps.append(sweep)
    return np.concatenate([random] + sweeps, axis=1)


def main():
    runner = sys.argv[1:]
    rng = np.random.default_rng(20261211)
    folder = 'selective_numpy'
    os.makedirs(folder, exist_ok=True)
    matrices = [rng.integers(-100, 101, (6, 6)) * (rng.random((6, 6)) < p) for p in (0.2, 0.5, 1.0) for _ in range(4)]
    matrices.append(np.array([[-19, 0, 0, 26, 0, 0], [0, -11, 0, 0, 22, 0], [0, 0, -11, 0, 0, 22],
                              [11, 0, 0, -22, 0, 0], [0, 11, 0, 0, -22, 0], [0, 0, 11, 0, 0, -22]]))
    matrices.append(rng.integers(-400, 401, (6, 6)))
    problems = []
    for number, matrix in enumerate(matrices):
        paths = [os.path.join(folder, '%d.%s' % (number, ext)) for ext in ('matrix', 'rgb8', 'rgb16', 'out8', 'out16')]
        rgb8, rgb16 = colours(rng, 255), colours(rng, 65535)
        with open(paths[0], 'wb') as f:
            f.write(matrix.astype('<i2').tobytes())
        with open(paths[1], 'wb') as f:
            f.write(rgb8.astype(np.uint8).tobytes())
        with open(paths[2], 'wb') as f:
            f.write(rgb16.astype('<u2').tobytes())
        subprocess.run(runner + paths, check=True)
        for bits, rgb, path, top, kind in ((8, rgb8, paths[3], 255, np.uint8), (16, rgb16, paths[4], 65535, '<u2')):
            got = np.frombuffer(open(path, 'rb').read(), dtype=kind).reshape(3, -1).astype(np.int64)
            want = correct(matrix, rgb, top)
            bad = np.nonzero((got != want).any(axis=0))[0]
            print('matrix %d, %d bits: %d colours, %d differ' % (number, bits, rgb.shape[1], bad.size))
            for i in bad[:3]:
                problems.append('matrix %d, %d bits, colour %s: %s, wanted %s'
                                % (number, bits, list(rgb[:, i]), list(got[:, i]), list(want[:, i])))
    for problem in problems:
        print('FAIL', problem)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
