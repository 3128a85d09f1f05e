#!/usr/bin/env python3
"""Checks the curve splines against numpy: random control points, the natural
cubic spline through them extended by one mirrored point at each end, solved
as a dense linear system in double precision and evaluated at the table
positions. Every table entry must agree within one level.
    spline_reference.py <curve_spline_dump> [runner...]"""
import subprocess
import sys

import numpy as np


def reference_table(kind, xs, ys, m):
    top = 255 if kind == "8" else 65535
    x = np.array(xs, dtype=float)
    y = np.array(ys, dtype=float)
    if kind != "wide":
        y[y == 255] = 256.0
    x = np.concatenate(([2 * x[0] - x[1]], x, [2 * x[-1] - x[-2]]))
    y = np.concatenate(([2 * y[0] - y[1]], y, [2 * y[-1] - y[-2]]))
    count = len(x)
    h = np.diff(x)
    # Natural spline: second derivatives zero at both extra points.
    a = np.zeros((count, count))
    rhs = np.zeros(count)
    a[0, 0] = a[-1, -1] = 1.0
    for i in range(1, count - 1):
        a[i, i - 1] = h[i - 1]
        a[i, i] = 2 * (h[i - 1] + h[i])
        a[i, i + 1] = h[i]
        rhs[i] = 6 * ((y[i + 1] - y[i]) / h[i] - (y[i] - y[i - 1]) / h[i - 1])
    second = np.linalg.solve(a, rhs)

    positions = x[1] + np.arange(m) * (x[-2] - x[1]) / m
    interval = np.clip(np.searchsorted(x, positions, side="right") - 1, 1, count - 3)
    t = positions - x[interval]
    hi = h[interval]
    slope = (y[interval + 1] - y[interval]) / hi
    m0, m1 = second[interval], second[interval + 1]
    values = y[interval] + t * (slope - (2 * m0 + m1) * hi / 6) + t * t * m0 / 2 + t ** 3 * (m1 - m0) / (6 * hi)
    values = np.append(values, y[-2])
    return np.clip(np.trunc(values), 0, top).astype(int)


def random_case(rng, kind):
    top = 255 if kind == "8" else 65535
    n = int(rng.integers(2, 8))
    xs = np.sort(rng.choice(np.arange(top + 1), size=n, replace=False))
    if rng.random() < 0.7:
        ys = np.sort(rng.integers(0, top + 1, size=n))     # monotone, the usual tone curve
    else:
        ys = rng.integers(0, top + 1, size=n)              # wild: overshoots clamp at both ends
    if kind == "8" and rng.random() < 0.5:
        ys[-1] = 255                                       # full scale at the end
    m = 255 if kind == "8" else int(rng.choice([255, 1023, 4096]))
    return n, m, [int(v) for v in xs], [int(v) for v in ys]


def main():
    dump = sys.argv[1]
    runner = sys.argv[2:]
    rng = np.random.default_rng(20261210)
    cases = [(kind,) + random_case(rng, kind) for kind in ("8", "16", "wide") for _ in range(60)]
    with open("spline_cases.txt", "w") as f:
        for kind, n, m, xs, ys in cases:
            f.write("%s %d %d %s %s\n" % (kind, n, m, " ".join(map(str, xs)), " ".join(map(str, ys))))
    subprocess.run(runner + [dump, "spline_cases.txt", "spline_tables.txt"], check=True)
    with open("spline_tables.txt") as f:
        tables = [np.array(line.split(), dtype=int) for line in f]
    if len(tables) != len(cases):
        print("expected %d tables, got %d" % (len(cases), len(tables)))
        return 1
    failures = 0
    for (kind, n, m, xs, ys), ours in zip(cases, tables):
        expected = reference_table(kind, xs, ys, m)
        worst = int(np.max(np.abs(ours - expected))) if len(ours) == len(expected) else -1
        if worst < 0 or worst > 1:
            failures += 1
            print("kind %s x=%s y=%s m=%d: largest difference %d" % (kind, xs, ys, m, worst))
    print("%d cases, %d failures" % (len(cases), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
