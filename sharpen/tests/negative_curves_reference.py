#!/usr/bin/env python3
"""Numerical check of the film curves of the negative conversion against a
model written from their rules, with scipy's natural cubic spline.

Usage: negative_curves_reference.py [runner...] negative_curve_tool

The spline of the curves is the natural spline through the scaled points
extended by one mirrored point at each end, sampled at m + 1 even steps from
the first to the last point; the model builds it with
CubicSpline(bc_type='natural') over those extended points.
"""
import math
import os
import struct
import subprocess
import sys

import numpy as np

try:
    from scipy.interpolate import CubicSpline
except ImportError:
    print('scipy is missing: python3-scipy (deps/setup-machine.sh)')
    sys.exit(77)

rng = np.random.default_rng(38)


def trunc_round(v):
    return int(v + 0.5)


def to_entry(v):
    return min(max(trunc_round(v), 0), 65535)


def pair(p, ch):
    if 1 <= ch <= 3:
        return p[2 * (ch - 1)], p[2 * (ch - 1) + 1]
    return (p[0] + p[2] + p[4] + 1) // 3, (p[1] + p[3] + p[5] + 1) // 3


def spline(X, Y, m):
    """Returns m + 1 floats (None where the value is taken as it is)."""
    n = len(X)
    XX = [2 * X[0] - X[1]] + list(X) + [2 * X[-1] - X[-2]]
    YY = [2 * Y[0] - Y[1]] + list(Y) + [2 * Y[-1] - Y[-2]]
    cs = CubicSpline(np.array(XX, float), np.array(YY, float), bc_type='natural')
    first, last = float(X[0]), float(X[-1])
    step = (last - first) / m if m > 0 else 0.0
    out = []
    for k in range(m):
        pos = first + k * step
        out.append(float(cs(pos)) if pos < last else float(Y[-1]))
    out.append(float(Y[-1]))
    return out


def clamp_entry(v):
    if not v >= 0:
        return 0
    return 65535 if v > 65535 else int(v)


def film_curve(curve, table, loose, x0, x1, y0, y1, ch, gamma):
    start = math.ceil(x0)
    g = 1.0 / gamma if gamma > 0 else 0.0
    X, Y = [], []
    usable = curve is not None and 3 <= len(curve) <= 60
    if usable:
        xmax, ymax = pair(curve[-1], ch)
        usable = xmax > 0 and ymax > 0
    if usable:
        for p in curve:
            x, y = pair(p, ch)
            u = min(max(x / xmax, 0.0), 1.0)
            v = y / ymax
            if g != 0:
                v = v ** g
            v = min(max(v, 0.0), 1.0)
            sx, sy = trunc_round(x0 + u * (x1 - x0)), trunc_round(y0 + v * (y1 - y0))
            if X and X[-1] == sx:
                Y[-1] = sy
            else:
                X.append(sx)
                Y.append(sy)
        usable = len(X) >= 3
    if not usable:
        i = start
        while i <= x1:
            t = (i - x0) / (x1 - x0) if x1 > x0 else 0.0
            table[i] = to_entry((t if g == 0 else t ** g) * (y1 - y0) + y0)
            i += 1
        return
    m = int(x1 - start)
    values = spline(X, Y, m)
    lo, hi = min(y0, y1), max(y0, y1)
    for k, v in enumerate(values):
        e = clamp_entry(v)
        # Within a hair of a whole number the two evaluations may truncate apart.
        if abs(v - round(v)) < 1e-6:
            loose.add(start + k)
        table[start + k] = int(min(max(e, lo), hi))


def negative_curves(curves, exposure, table, loose, x0, x1, y0, y1, ch, gamma):
    start = math.ceil(x0)
    p = min(max(exposure, 0.0), 1.0)
    # The exposure is an f32 and the product is taken in f32.
    x = float(np.float32(np.float32(p) * np.float32(len(curves) - 1)))
    i1, i2 = int(x), math.ceil(x)
    if i1 == i2:
        film_curve(curves[i1], table, loose, x0, x1, y0, y1, ch, gamma)
        return
    n = math.ceil(x1) + 1
    a, b = [0] * n, [0] * n
    film_curve(curves[i1], a, loose, x0, x1, y0, y1, ch, gamma)
    film_curve(curves[i2], b, loose, x0, x1, y0, y1, ch, gamma)
    t = x - i1
    i = start
    while i <= x1:
        table[i] = trunc_round(a[i] * (1 - t) + b[i] * t)
        i += 1


def build_table(curves, exposure, table, low, high, ch, gamma, top):
    size = len(table)
    s = size // 256
    lo = min(max(low, 0), size - 1)
    hi = min(max(high * s - 1, 0), size - 1)
    copy = list(table)
    temp = [0] * size
    loose = set()
    if s <= 1:
        negative_curves(curves, exposure, temp, loose, lo, hi, 16 * lo, 16 * hi + 15, ch, gamma)
        for i in range(lo, hi + 1):
            v = temp[i] * 0.0625
            j = int(v)
            f = v - j
            if j >= size - 1:
                e = copy[size - 1]
            elif f <= 0:
                e = copy[j]
            else:
                e = trunc_round(copy[j] * (1 - f) + copy[j + 1] * f)
            table[i] = min(max(e, 0), top)
    else:
        negative_curves(curves, exposure, temp, loose, lo * s, hi, lo * s, hi, ch, gamma)
        for i in range(lo * s, hi + 1):
            table[i] = copy[temp[i]]
    return loose  # table entries read from such curve entries


# ------------------------------------------------------------------ profiles

def smooth_curve(n, shift):
    """n rising points from 0 to 32767 per channel pair, bent by shift."""
    pts = []
    for k in range(n):
        t = k / (n - 1)
        p = []
        for c in range(3):
            x = round(32767 * t)
            bend = 0.35 + 0.25 * c + shift
            y = round(32767 * (t ** bend) * (1 - 0.15 * math.sin(math.pi * t)))
            p += [x, min(max(y, 0), 32767)]
        pts.append(p)
    pts[-1] = [32767] * 6
    return pts


def list_bytes(curves):
    data = struct.pack('<Ih', 0, len(curves))
    for curve in curves:
        data += struct.pack('<h', len(curve))
        for p in curve:
            data += struct.pack('<6H', *p)
    return data


def main():
    runner = sys.argv[1:]
    if not runner:
        print(__doc__)
        return 2
    three = [smooth_curve(13, s) for s in (0.0, 0.3, 0.6)]
    # A curve whose points crowd at the start (scaled inputs repeat on a small
    # range) and a steep step that overshoots.
    crowded = [[0] * 6, [100, 2000] * 3, [101, 9000] * 3, [102, 9100] * 3, [16000, 16000] * 3, [32767] * 6]
    step = [[0] * 6, [15000, 500] * 3, [16000, 32000] * 3, [17000, 32500] * 3, [32767] * 6]
    profiles = {
        'three': three,
        'one': [smooth_curve(13, 0.2)],
        'two_points': [smooth_curve(2, 0.0)],
        'sixty_one': [smooth_curve(61, 0.1)],
        'crowded': [crowded],
        'step': [step],
    }
    curve_runs = [
        # profile, exposure, x0, x1, y0, y1, channel, gamma, entries
        ('three', 0.5, 0, 4095, 0, 65535, 0, 0.0, 4200),
        ('three', 0.25, 10.3, 3000.7, 0, 65535, 1, 0.0, 3100),
        ('three', 0.25, 0, 1023, 60000, 100, 2, 2.2, 1024),
        ('three', 1.7, 5, 999, 0, 16383, 3, 0.0, 1000),
        ('three', -0.3, 5, 999, 0, 16383, 3, 1.8, 1000),
        ('three', 0.8, 1, 65534, 0, 65535, 0, 0.0, 65536),
        ('one', 0.9, 0, 255, 0, 4095, 2, 0.0, 256),
        ('two_points', 0.5, 3.5, 500, 0, 65535, 0, 0.0, 600),
        ('two_points', 0.5, 3.5, 500, 0, 65535, 1, 2.2, 600),
        ('sixty_one', 0.5, 0, 700, 65535, 0, 1, 0.0, 800),
        ('sixty_one', 0.5, 0, 700, 0, 65535, 1, 1.8, 800),
        ('crowded', 0.0, 0, 50, 0, 65535, 1, 0.0, 60),
        ('crowded', 0.0, 0, 50, 0, 65535, 0, 0.0, 60),
        ('step', 0.0, 0, 400, 0, 65535, 2, 0.0, 401),
        ('step', 0.0, 0, 400, 65535, 0, 2, 0.0, 401),
    ]
    table_runs = [
        # kind, profile, exposure, low, high, channel, gamma, size
        ('table8', 'three', 0.5, 0, 256, 0, 0.0, 256),
        ('table8', 'three', 0.3, 20, 200, 1, 1.8, 256),
        ('table8', 'three', 0.5, 0, 256, 2, 2.2, 256),
        ('table16', 'three', 0.6, 0, 256, 3, 0.0, 65536),
        ('table16', 'three', 0.5, 0, 256, 1, 2.2, 65536),
        ('table16', 'three', 0.5, 10, 250, 0, 0.0, 65536),
    ]
    failures = 0
    # Relative names in the working folder, which the runner under Wine sees too.
    os.makedirs('negative_curves', exist_ok=True)
    if True:
        def path(name):
            return 'negative_curves/' + name

        for name, curves in profiles.items():
            with open(path(name + '.lst'), 'wb') as f:
                f.write(list_bytes(curves))
        jobs = []
        for k, (name, e, x0, x1, y0, y1, ch, g, n) in enumerate(curve_runs):
            jobs.append(f'curves {path(name + ".lst")} {e} {x0} {x1} {y0} {y1} {ch} {g} {n} {path(f"c{k}.out")}')
        inputs = []
        for k, (kind, name, e, lo, hi, ch, g, size) in enumerate(table_runs):
            top = 255 if kind == 'table8' else 65535
            base = np.sort(rng.integers(0, top + 1, size))
            base[0], base[-1] = 0, top
            inputs.append(base)
            fmt = '<u1' if kind == 'table8' else '<u2'
            base.astype(fmt).tofile(path(f't{k}.in'))
            tail = f'{lo} {hi} {ch} {g}'
            jobs.append(f'{kind} {path(name + ".lst")} {e} {tail} {path(f"t{k}.in")} {path(f"t{k}.out")}')
        with open(path('jobs.txt'), 'w') as f:
            f.write('\n'.join(jobs) + '\n')
        rc = subprocess.run(runner + [path('jobs.txt')]).returncode
        if rc != 0:
            print(f'tool failed with {rc}')
            return 1

        for k, (name, e, x0, x1, y0, y1, ch, g, n) in enumerate(curve_runs):
            want = [0xFFFF] * n
            loose = set()
            negative_curves(profiles[name], e, want, loose, x0, x1, y0, y1, ch, g)
            got = np.fromfile(path(f'c{k}.out'), '<u2').tolist()
            bad = [i for i in range(n) if got[i] != want[i] and not (i in loose and abs(got[i] - want[i]) <= 1)]
            if bad:
                failures += 1
                i = bad[0]
                print(f'curves {curve_runs[k]}: {len(bad)} entries differ, first {i}: {got[i]} != {want[i]}')
        for k, (kind, name, e, lo, hi, ch, g, size) in enumerate(table_runs):
            top = 255 if kind == 'table8' else 65535
            want = inputs[k].tolist()
            loose = build_table(profiles[name], e, want, lo, hi, ch, g, top)
            got = np.fromfile(path(f't{k}.out'), '<u1' if kind == 'table8' else '<u2').tolist()
            bad = [i for i in range(size) if got[i] != want[i] and i not in loose]
            if bad:
                failures += 1
                i = bad[0]
                print(f'{table_runs[k]}: {len(bad)} entries differ, first {i}: {got[i]} != {want[i]}')
    print(f'{len(curve_runs) + len(table_runs)} runs, {failures} failed')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
