#!/usr/bin/env python3
"""numpy reference of the image-processing functions, written from their formulas.

Writes cases for processing_test into a folder: cases.txt, one line per case
("name function parameters..."), and per case <name>.in (the input image),
<name>.src (a blend's source image) and <name>.out (the expected result).
"""
import math
import os
import sys

import numpy as np

LUMA_WEIGHTS = (0.299, 0.587, 0.114)


def luminance(img):
    f = img.astype(np.float64)
    return np.trunc(LUMA_WEIGHTS[0] * f[..., 0] + LUMA_WEIGHTS[1] * f[..., 1]
                    + LUMA_WEIGHTS[2] * f[..., 2]).astype(np.int64)


def grey(img):
    return luminance(img).astype(np.uint8)


def luma_histogram(img):
    return np.bincount(np.clip(luminance(img), 0, 255).ravel(), minlength=256).astype('<i4')


def channel_histogram(img, mask):
    channel = {1: 0, 2: 1, 4: 2}[mask]
    return np.bincount(img[..., channel].ravel(), minlength=256).astype('<i4')


def gamma(img, g):
    e = 1.0 if g == 0 else 1.0 / g
    # The C library's pow, as the formula has it; numpy's vectorised power may round differently.
    table = [min(math.trunc(math.pow(i / 256.0, e) * 256), 255) for i in range(256)]
    return np.array(table, dtype=np.uint8)[img]


def clip_percentage(distance):
    p = distance * 0.39215686274509803
    if not p > 0:
        return 0.0
    return 100.0 if p >= 100 else p


def levels(img, low, high, mode):
    h, w, _ = img.shape
    n = w * h
    lum = luminance(img)
    hist = np.bincount(lum.ravel(), minlength=256)
    if mode == 1:
        lo, hi = (high, low) if high < low else (low, high)
        between = [lo < v < hi for v in range(256)]
        total = sum(int(hist[v]) for v in range(256) if between[v])
        new = list(range(256))
        cumulative = 0
        for v in range(256):
            if between[v]:
                cumulative += int(hist[v])
                new[v] = 0 if total == 0 else cumulative * 255 // total
    else:
        low_count = int(clip_percentage(low) * 0.01 * n)
        high_count = int((1 - clip_percentage(255 - high) * 0.01) * n)
        running = np.cumsum(hist)
        lo = min(int(np.argmax(running >= low_count)), n)
        hi = min(int(np.argmax(running >= high_count)), n)
        lo, hi = min(lo, hi), max(lo, hi)
        if lo == hi:
            new = [0] * 256
        else:
            scale = 255 / (hi - lo)
            new = [min(max(int((v - lo) * scale), 0), 255) for v in range(256)]
    shift = lum - np.array(new, dtype=np.int64)[lum]
    return np.clip(img.astype(np.int64) - shift[..., None], 0, 255).astype(np.uint8)


def noise_step(plane, temp, dy, dx, up, h, w):
    inner = (slice(1, h + 1), slice(1, w + 1))
    ahead = (slice(1 + dy, h + 1 + dy), slice(1 + dx, w + 1 + dx))
    behind = (slice(1 - dy, h + 1 - dy), slice(1 - dx, w + 1 - dx))
    a, n = plane[inner], plane[ahead]
    if up:
        temp[inner] = np.where(a < n, a + 1, a)
    else:
        temp[inner] = np.where((n + 1) % 256 < a, a - 1, a)
    k, m1, n = temp[inner], (temp[behind] + 1) % 256, temp[ahead]
    if up:
        plane[inner] = np.where((k < m1) & (k < n), k + 1, k)
    else:
        plane[inner] = np.where((m1 < k) & (n < k), k - 1, k)


def reduce_noise(img):
    h, w, _ = img.shape
    planes = [np.zeros((h + 2, w + 2), np.int64) for _ in range(3)]
    for c in range(3):
        planes[c][1:h + 1, 1:w + 1] = img[..., c]
    for dx, dy in ((0, 1), (1, 0), (1, 1), (-1, 1)):
        for plane in planes:
            temp = np.zeros_like(plane)
            noise_step(plane, temp, dy, dx, True, h, w)
            noise_step(plane, temp, -dy, -dx, True, h, w)
            noise_step(plane, temp, -dy, -dx, False, h, w)
            noise_step(plane, temp, dy, dx, False, h, w)
    return np.stack([p[1:h + 1, 1:w + 1] for p in planes], axis=-1).astype(np.uint8)


def sharpen(img, amount):
    if amount > 99:
        amount = 100
    if amount < 1:
        amount = 0
    k = amount * 0.005
    h, w, _ = img.shape
    padded = np.pad(img.astype(np.int64), ((1, 1), (1, 1), (0, 0)), mode='edge')
    c = padded[1:h + 1, 1:w + 1]
    s = sum(padded[1 + dy:h + 1 + dy, 1 + dx:w + 1 + dx]
            for dy in (-1, 0, 1) for dx in (-1, 0, 1) if (dy, dx) != (0, 0))
    return np.trunc(np.clip(c - k * (s - 8 * c), 0, 255)).astype(np.uint8)


def blend(dst, src, x, y, opacity, table):
    out = dst.copy()
    dh, dw, _ = dst.shape
    sh, sw, _ = src.shape
    opacity = min(max(opacity, 0.0), 1.0)
    c0, c1 = np.clip([x, x + sw], 0, dw)
    r0, r1 = np.clip([y, y + sh], 0, dh)
    if c0 >= c1 or r0 >= r1:
        return out
    s = src[r0 - y:r1 - y, c0 - x:c1 - x].astype(np.float64)
    d = dst[r0:r1, c0:c1].astype(np.float64)
    if opacity == 1:
        region = s
    elif table:
        region = np.trunc(opacity * s) + np.trunc((1 - opacity) * d)
    else:
        region = np.trunc(opacity * s + (1 - opacity) * d)
    out[r0:r1, c0:c1] = region.astype(np.uint8)
    return out


def resample(src, dw, dh):
    sh, sw, _ = src.shape
    x = np.clip((sw / dw) * np.arange(dw), 0, sw - 1)
    x0 = np.trunc(x).astype(np.int64)
    x1 = np.minimum(x0 + 1, sw - 1)
    left = (x0 + 1 - x)[:, None]
    right = (x - x0)[:, None]
    out = np.zeros((dh, dw, src.shape[2]), np.uint8)
    f = src.astype(np.float64)
    for j in range(dh):
        y = min(max(j * (sh / dh), 0.0), sh - 1.0)
        r = int(y)
        r2 = min(r + 1, sh - 1)
        row1 = f[r, x0] * left + f[r, x1] * right
        row2 = f[r2, x0] * left + f[r2, x1] * right
        out[j] = np.trunc(row2 * (y - r) + row1 * (r + 1 - y)).astype(np.uint8)
    return out


class CaseWriter:
    def __init__(self, folder):
        self.folder = folder
        self.lines = []

    def add(self, name, function, params, image, expected, source=None):
        fields = [name, function] + [repr(p) if isinstance(p, float) else str(p) for p in params]
        self.lines.append(' '.join(fields))
        np.ascontiguousarray(image).tofile(os.path.join(self.folder, name + '.in'))
        if source is not None:
            np.ascontiguousarray(source).tofile(os.path.join(self.folder, name + '.src'))
        np.ascontiguousarray(expected).tofile(os.path.join(self.folder, name + '.out'))

    def finish(self):
        with open(os.path.join(self.folder, 'cases.txt'), 'w') as f:
            f.write('\n'.join(self.lines) + '\n')


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    rng = np.random.default_rng(20261210)

    def image(h, w, low=0, high=256, channels=3):
        return rng.integers(low, high, size=(h, w, channels), dtype=np.uint8)

    def grey_ramp():
        v = np.arange(256, dtype=np.uint8)
        return np.stack([v, v, v], axis=-1)[None]

    cases = CaseWriter(folder)
    sizes = [(1, 1), (1, 7), (5, 1), (3, 4), (17, 23), (64, 48)]

    for h, w in sizes:
        img = image(h, w)
        cases.add(f'grey_{w}x{h}', 'grey', [w, h], img, grey(img))
        cases.add(f'luma_hist_{w}x{h}', 'luma_hist', [w, h], img, luma_histogram(img))
    cases.add('grey_ramp', 'grey', [256, 1], grey_ramp(), grey(grey_ramp()))
    img = image(13, 11)
    for mask in (1, 2, 4):
        cases.add(f'channel_hist_{mask}', 'channel_hist', [11, 13, mask], img, channel_histogram(img, mask))

    img = image(19, 21)
    for g in (0.0, 0.5, 0.7, 1.0, 1.4, 2.2, 3.0, 1e20):
        cases.add(f'gamma_{g}', 'gamma', [21, 19, g], img, gamma(img, g))
    cases.add('gamma_ramp_1.4', 'gamma', [256, 1, 1.4], grey_ramp(), gamma(grey_ramp(), 1.4))

    level_images = {
        'wide': image(20, 25),
        'narrow': image(20, 25, 60, 180),
        'small': image(7, 9, 30, 220),
        'flat': np.full((6, 8, 3), (120, 64, 200), np.uint8),
        'grey_flat': np.full((5, 5, 3), 4, np.uint8),
        'big': image(40, 50, 40, 200),
    }
    for label, img in level_images.items():
        h, w, _ = img.shape
        for low, high, mode in ((5, 250, 0), (0, 255, 0), (40, 200, 0), (250, 5, 0), (300, -40, 0),
                                (5, 250, 1), (200, 40, 1), (0, 255, 1), (100, 101, 1)):
            cases.add(f'levels_{label}_{low}_{high}_{mode}', 'levels', [w, h, low, high, mode], img,
                      levels(img, low, high, mode))

    noisy = image(24, 30, 90, 140)
    speckles = rng.integers(0, noisy.size, 60)
    noisy.reshape(-1)[speckles] = rng.choice([0, 255], 60)
    for label, img in (('speckled', noisy), ('random', image(9, 14)), ('tiny', image(1, 1)),
                       ('column', image(6, 1)), ('row', image(1, 6)), ('white', np.full((4, 5, 3), 255, np.uint8))):
        h, w, _ = img.shape
        cases.add(f'noise_{label}', 'noise', [w, h], img, reduce_noise(img))

    img = image(15, 12)
    for amount in (-5, 0, 1, 10, 37, 99, 100, 250):
        cases.add(f'sharpen_{amount}', 'sharpen', [12, 15, amount], img, sharpen(img, amount))
    for h, w in ((1, 1), (1, 5), (4, 1)):
        img = image(h, w)
        cases.add(f'sharpen_edge_{w}x{h}', 'sharpen', [w, h, 50], img, sharpen(img, 50))

    dst = image(16, 20)
    src = image(7, 9)
    for x, y, opacity, table in ((0, 0, 0.5, 0), (0, 0, 0.5, 1), (3, 4, 0.01, 0), (3, 4, 0.01, 1),
                                 (-4, -2, 0.3, 0), (15, 12, 0.77, 1), (25, 0, 0.5, 0), (2, 2, 1.5, 0),
                                 (2, 2, 0.0, 1), (2, 2, -1.0, 0), (5, 5, 0.6, 0), (-9, 0, 0.4, 0)):
        cases.add(f'blend_{x}_{y}_{opacity}_{table}', 'blend', [20, 16, 9, 7, x, y, opacity, table],
                  dst, blend(dst, src, x, y, opacity, table), source=src)
    same = image(6, 6)
    for opacity in (0.01, 0.5, 0.6, 0.99):
        cases.add(f'blend_same_{opacity}', 'blend', [6, 6, 6, 6, 0, 0, opacity, 0], same,
                  blend(same, same, 0, 0, opacity, 0), source=same.copy())

    for (sw, sh), (dw, dh), bpp in (((10, 8), (10, 8), 3), ((10, 8), (25, 19), 3), ((33, 21), (7, 5), 3),
                                    ((1, 1), (4, 3), 3), ((5, 1), (1, 5), 3), ((12, 9), (17, 4), 1),
                                    ((12, 9), (5, 11), 4), ((64, 48), (200, 150), 3), ((3, 3), (1, 1), 3)):
        img = image(sh, sw, channels=bpp)
        cases.add(f'resample_{sw}x{sh}_{dw}x{dh}_{bpp}', 'resample', [sw, sh, dw, dh, bpp], img,
                  resample(img, dw, dh))

    cases.finish()


if __name__ == '__main__':
    main()
