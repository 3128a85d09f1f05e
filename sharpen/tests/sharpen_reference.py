#!/usr/bin/env python3
"""Numerical check of the sharpening filters and the descreening resampler
against numpy models written from their rules.

Usage: sharpen_reference.py [runner...] sharpen_band_tool

Writes random planar images (smooth ramps with noise and hard edges, so that
every branch of the filter is taken), lets the tool run them band by band
(bands of 1, 10 and 30 rows, and a line source of short reads), and wants
every sample equal to the whole-image model.
"""
import os
import subprocess
import sys

import numpy as np

LAYOUTS = {'grey8': (1, 8), 'grey16': (1, 16), 'rgb8': (3, 8), 'rgb16': (3, 16)}
FILTER_KINDS = {1, 3, 4, 5, 6, 9, 10, 11, 12}


# ----------------------------------------------------------------- sharpening

def weights(m):
    """Weight of each offset of the (2m+1)^2 matrix by the squared distance."""
    w = np.zeros((2 * m + 1, 2 * m + 1), dtype=np.int64)
    table = {1: {1: 2, 2: 1},
             2: {1: 2, 2: 2, 4: 1, 5: 1},
             3: {1: 2, 2: 2, 4: 2, 5: 2, 8: 1, 9: 1, 10: 1}}[m]
    for dy in range(-m, m + 1):
        for dx in range(-m, m + 1):
            w[dy + m, dx + m] = table.get(dx * dx + dy * dy, 0)
    return w


def sharpen(image, kind, threshold, amount, limit, soft, light, dark, matrix, negative, bits):
    """image: rows x planes x width, int64. Returns the filtered copy."""
    out = image.copy()
    if kind not in FILTER_KINDS:
        return out
    m = matrix + 1
    planes = image.shape[1]
    rows, width = image.shape[0], image.shape[2]
    if rows < 2 * m + 1 or width < 2 * m + 1:
        return out
    w = weights(m)
    N = planes * int(w.sum())
    wide = bits == 16
    scale = 256 if wide else 1
    level = 655.36 if wide else 2.56
    top = 65535 if wide else 255
    t = threshold * scale
    v = int(((limit if negative else 100 - limit) * N) * level)
    Z = int(N * (limit * 0.5) * level)
    dark_amount = dark * amount // 100
    light_amount = light * amount // 100

    sums = image.sum(axis=1)                       # rows x width: the pixel's planes summed
    ys, xs = slice(m, rows - m), slice(m, width - m)
    c = image[ys, :, xs]                           # centre samples, rows' x planes x width'
    L = sums[ys, xs] * N // 3 if planes == 3 else sums[ys, xs] * N
    L = np.where(L == 0, 1, L)
    S = np.zeros_like(L)
    for dy in range(-m, m + 1):
        for dx in range(-m, m + 1):
            if w[dy + m, dx + m]:
                S += w[dy + m, dx + m] * sums[m + dy:rows - m + dy, m + dx:width - m + dx]
    S = np.where(S == 0, 1, S)
    D = np.abs(S - L) * 10 // N
    B = v - L if negative else L - v

    active = D > t
    faded = np.where(D < 2 * t, (D - t) * 2, D)
    if wide:
        faded = np.where(B < Z, np.trunc(B.astype(float) * faded / max(Z, 1) + 0.5).astype(np.int64), faded)
    else:
        faded = np.where(B < Z, faded * B // max(Z, 1), faded)
    darker = S > L
    brighter = S < L
    delta = (faded * np.where(darker, dark_amount, light_amount) + 50) // 100

    q_dark = L * 256 // S
    q_light = S * 256 // L
    f = np.where(darker, 256 - ((256 - q_dark) >> 1), 256 - ((256 - q_light) >> 1))

    result = c.copy()
    for p in range(planes):
        cp = c[:, p, :]
        sharp = np.where(darker, cp - delta, cp + delta).clip(0, top)
        softened = np.where(darker, np.minimum(cp * 256 // f, top), (cp * f) >> 8)
        value = np.where(B > 0, sharp, np.where(soft != 0, softened, cp))
        result[:, p, :] = np.where(active & (darker | brighter), value, cp)
    out[ys, :, xs] = result
    return out


# ----------------------------------------------------------------- resampling

def cubic_weights(u):
    u2 = u * u
    u3 = u2 * u
    return [-0.5 * u3 + u2 - 0.5 * u, 1.5 * u3 - 2.5 * u2 + 1.0, -1.5 * u3 + 2.0 * u2 + 0.5 * u, 0.5 * u3 - 0.5 * u2]


def scale(image, out_w, out_h, bits):
    """image: rows x planes x width. Halve, blur, resample to out_h x out_w."""
    S = image.shape[0]
    H, HW = S // 2, image.shape[2] // 2
    a = image[0:2 * H:2, :, 0:2 * HW:2]
    b = image[0:2 * H:2, :, 1:2 * HW:2]
    c = image[1:2 * H:2, :, 0:2 * HW:2]
    d = image[1:2 * H:2, :, 1:2 * HW:2]
    work = (a + b + c + d) >> 2
    for r in range(H - 1):                         # top down: row r + 1 is still unblurred
        nxt = work[r + 1]
        row = work[r]
        if HW > 1:
            row[:, :HW - 1] = (row[:, :HW - 1] + row[:, 1:] + nxt[:, :HW - 1] + nxt[:, 1:]) >> 2
            row[:, HW - 1] = row[:, HW - 2]
    if H > 1:
        work[H - 1] = work[H - 2]
    top = 65535.0 if bits == 16 else 255.0
    cubic = (S * 0.5) / out_h < 1.0
    step = HW / out_w
    xs = np.arange(out_w) * step
    x0 = xs.astype(np.int64)
    t = xs - x0
    last = HW - 1
    out = np.zeros((out_h, image.shape[1], out_w), dtype=np.int64)
    work = work.astype(float)
    for j in range(out_h):
        p = (float(j * S) / out_h) * 0.5
        if not cubic:
            y0 = max(int(p), 0)
            y1 = y0 + 1
            if y1 >= H - 1:
                y1 = y0
            fy = min(1.0, max(0.0, p - y0))
            r0, r1 = work[min(y0, last_row(H))], work[min(y1, last_row(H))]
            x1 = np.minimum(x0 + 1, last)
            upper = r0[:, x1] * t + r0[:, x0] * (1.0 - t)
            lower = r1[:, x1] * t + r1[:, x0] * (1.0 - t)
            out[j] = np.trunc(upper * (1.0 - fy) + lower * fy).astype(np.int64)
        else:
            y = max(int(p), 0)
            rows = [max(y - 1, 0), y, y + 1, y + 2]
            if y + 2 >= H - 1:
                rows = [max(H - 2, 0) if r >= H - 1 else r for r in rows]
            wy = cubic_weights(min(1.0, max(0.0, p - y)))
            wx = cubic_weights(t)
            cols = [np.minimum(np.maximum(x0 - 1, 0), last), np.minimum(x0, last),
                    np.minimum(x0 + 1, last), np.minimum(x0 + 2, last)]
            acc = np.zeros((image.shape[1], out_w))
            for k in range(4):
                r = work[min(rows[k], last_row(H))]
                value = r[:, cols[0]] * wx[0] + r[:, cols[1]] * wx[1] + r[:, cols[2]] * wx[2] + r[:, cols[3]] * wx[3]
                acc = acc + value * wy[k]
            out[j] = np.trunc(np.clip(acc, 0.0, top) + 0.5).astype(np.int64)
    return out


def last_row(H):
    return max(H - 1, 0)


# ----------------------------------------------------------------- fixtures

def test_image(rng, rows, width, planes, bits):
    """Ramps, noise and hard-edged blocks across the whole sample range."""
    top = 65535 if bits == 16 else 255
    y, x = np.mgrid[0:rows, 0:width]
    img = np.zeros((rows, planes, width), dtype=np.int64)
    for p in range(planes):
        ramp = (x * (top / max(width - 1, 1)) * (0.6 + 0.2 * p) + y * (top / max(rows - 1, 1)) * 0.4)
        blocks = ((x // 5 + y // 4 + p) % 3 == 0) * (top * 0.3)
        noise = rng.normal(0, top * 0.04, size=(rows, width))
        img[:, p, :] = np.clip(ramp * 0.7 + blocks + noise, 0, top).astype(np.int64)
    img[rows // 3, :, :] = 0                        # a black line and a white spot
    img[:, :, width // 2] = top
    return img


def to_bytes(img, bits):
    return img.astype(np.uint16 if bits == 16 else np.uint8).tobytes()


def from_bytes(data, shape, bits):
    return np.frombuffer(data, dtype=np.uint16 if bits == 16 else np.uint8).astype(np.int64).reshape(shape)


SHARPEN_CASES = [
    # layout, width, rows, kind, threshold, amount, limit, soft, light, dark, matrix, negative
    ('grey8', 41, 47, 1, 10, 50, 100, 0, 50, 50, 0, 0),
    ('grey8', 40, 33, 5, 3, 180, 60, 1, 80, 30, 1, 0),
    ('grey16', 37, 45, 1, 4, 120, 70, 1, 50, 90, 2, 0),
    ('rgb8', 39, 52, 3, 6, 150, 40, 1, 70, 60, 2, 1),
    ('rgb8', 36, 41, 2, 10, 50, 100, 0, 50, 50, 1, 0),     # descreening only: rows pass unchanged
    ('rgb16', 35, 44, 12, 2, 200, 100, 0, 100, 100, 1, 0),
    ('rgb16', 33, 40, 1, 8, 90, 30, 1, 40, 100, 2, 0),     # soft shadows on the 7 x 7 matrix
    ('grey16', 30, 39, 1, 0, 60, 50, 1, 60, 60, 0, 1),
]

SCALE_CASES = [
    # layout, width, rows, out width, out rows
    ('grey8', 64, 60, 20, 19),     # linear
    ('rgb8', 50, 48, 25, 24),      # ratio exactly 1.0: linear
    ('rgb16', 45, 41, 17, 13),     # odd source sizes
    ('grey16', 40, 30, 31, 23),    # cubic: more output rows than halved rows
    ('rgb8', 30, 26, 24, 29),      # cubic
    ('grey16', 26, 31, 19, 22),    # cubic with an odd last source row
]

BANDS = [(1, 0), (10, 0), (30, 0), (10, 3), (1, 1)]


def main():
    runner, tool = sys.argv[1:-1], sys.argv[-1]
    rng = np.random.default_rng(31)
    jobs, checks = [], []
    for n, (layout, width, rows, *params) in enumerate(SHARPEN_CASES):
        planes, bits = LAYOUTS[layout]
        img = test_image(rng, rows, width, planes, bits)
        src = 'sharpen%d.raw' % n
        with open(src, 'wb') as f:
            f.write(to_bytes(img, bits))
        want = sharpen(img, *params, bits=bits)
        for band, release in [(1, 0), (10, 0), (30, 1), (rows + 5, 0)]:
            out = 'sharpen%d_%d_%d.out' % (n, band, release)
            jobs.append('sharpen %s %d %d %s %d %d %s %s' % (layout, width, rows, ' '.join(map(str, params)),
                                                             band, release, src, out))
            checks.append(('sharpen %s %s band %d release %d' % (layout, params, band, release), out, want, bits))
    for n, (layout, width, rows, out_w, out_h) in enumerate(SCALE_CASES):
        planes, bits = LAYOUTS[layout]
        img = test_image(rng, rows, width, planes, bits)
        src = 'scale%d.raw' % n
        with open(src, 'wb') as f:
            f.write(to_bytes(img, bits))
        want = scale(img, out_w, out_h, bits)
        for band, short in BANDS:
            out = 'scale%d_%d_%d.out' % (n, band, short)
            jobs.append('scale %s %d %d %d %d %d %d %s %s' % (layout, width, rows, out_w, out_h, band, short, src, out))
            checks.append(('scale %s %dx%d->%dx%d band %d short %d' % (layout, width, rows, out_w, out_h, band, short),
                           out, want, bits))
    with open('jobs.txt', 'w') as f:
        f.write('\n'.join(jobs) + '\n')
    subprocess.run(runner + [tool, 'jobs.txt'], check=True)

    failures = 0
    for name, out, want, bits in checks:
        with open(out, 'rb') as f:
            data = f.read()
        expected = to_bytes(want, bits)
        if len(data) != len(expected):
            print('FAIL %s: %d bytes, wanted %d' % (name, len(data), len(expected)))
            failures += 1
            continue
        got = from_bytes(data, want.shape, bits)
        bad = np.argwhere(got != want)
        if len(bad):
            r, p, x = bad[0]
            print('FAIL %s: %d samples differ, first at row %d plane %d column %d: %d, wanted %d'
                  % (name, len(bad), r, p, x, got[r, p, x], want[r, p, x]))
            failures += 1
    print('%d runs checked, %d failed' % (len(checks), failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
