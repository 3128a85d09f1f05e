#!/usr/bin/env python3
"""Numerical check of the resampling engine against an independent numpy model.

Usage: resample_reference.py [runner...] resample_tool

Writes random planar images, lets the engine resample them (one tool run for
all cases), and compares with the model: the filtered kernels within one
level, the fast 16.16 interpolation exactly.
"""
import math
import os
import subprocess
import sys

import numpy as np

PI = 3.1415926535


def filtered_table(src, out):
    """Source positions and weights per output: sinc to reduce, cubic otherwise."""
    if out == 1:
        scale, centres = 0.0, np.array([math.trunc((src - 1) / 2 + 0.5)], dtype=float)
    else:
        scale = (src - 1) / (out - 1)
        centres = np.arange(out) * scale
    if scale > 1:
        support = 2 * scale
        taps = int(2 * support)
        first = np.floor(centres + support) - taps + 1
        pos = first[:, None] + np.arange(taps)[None, :]
        d = np.abs(pos - centres[:, None])
        x = d * (PI / scale)
        with np.errstate(invalid="ignore", divide="ignore"):
            w = np.where(d >= support, 0.0, np.where(x <= 0.0031415926535, 1.0, np.sin(x) / x))
        sums = w.sum(axis=1, keepdims=True)
        w = np.where(sums != 0, w / np.where(sums != 0, sums, 1), w)
    else:
        base = np.floor(centres)
        f = (centres - base)[:, None]
        w = np.hstack([f**2 - f**3 / 2 - f / 2, 1.5 * f**3 - 2.5 * f**2 + 1,
                       f / 2 + 2 * f**2 - 1.5 * f**3, f**3 / 2 - f**2 / 2])
        pos = base[:, None] - 1 + np.arange(4)[None, :]
    return np.clip(pos, 0, src - 1).astype(np.int64), w


def to_samples(acc, top):
    return np.where(acc <= 0, 0, np.where(acc >= top, top, np.trunc(acc + 0.5))).astype(np.int64)


def filtered(image, out_w, out_h, top):
    """image: rows x planes x width."""
    hi, hw = filtered_table(image.shape[2], out_w)
    acc = np.zeros(image.shape[:2] + (out_w,))
    for t in range(hi.shape[1]):
        acc += image[:, :, hi[:, t]] * hw[:, t]
    queue = to_samples(acc, top)
    vi, vw = filtered_table(image.shape[0], out_h)
    acc = np.zeros((out_h,) + queue.shape[1:])
    for t in range(vi.shape[1]):
        acc += queue[vi[:, t]] * vw[:, t][:, None, None]
    return to_samples(acc, top)


def fast(image, out_w, out_h):
    src_h, _, src_w = image.shape
    if out_w == 1:
        base, frac = np.array([math.trunc((src_w - 1) / 2 + 0.5)]), np.array([0])
    else:
        s = np.arange(out_w) * (src_w / out_w)
        base = np.minimum(np.floor(s).astype(np.int64), src_w - 1)
        weight_of_base = np.trunc((base + 1 - s) * 65536 + 0.5).astype(np.int64)
        frac = np.where(base + 1 < src_w, 65536 - weight_of_base, 0)
    nxt = np.minimum(base + 1, src_w - 1)
    queue = (image[:, :, base] * (65536 - frac) + image[:, :, nxt] * frac) >> 16
    if out_h == 1:
        p = np.array([float(math.trunc((src_h - 1) / 2 + 0.5))])
    else:
        p = np.arange(out_h) * ((src_h - 1) / (out_h - 1))
    n = np.floor(p).astype(np.int64)
    f = np.trunc((p - n) * 65536 + 0.5).astype(np.int64)[:, None, None]
    a, b = queue[np.minimum(n, src_h - 1)], queue[np.minimum(n + 1, src_h - 1)]
    return (a * (65536 - f) + b * f) >> 16


CASES = [
    # mode, layout, source width, height, output width, height
    ("filtered", "grey8", 1000, 12, 250, 4),
    ("filtered", "rgb16", 300, 40, 97, 13),
    ("filtered", "rgb8", 64, 30, 200, 77),
    ("filtered", "grey16", 50, 50, 50, 50),
    ("filtered", "rgb16", 900, 90, 31, 3),
    ("filtered", "grey8", 33, 21, 1, 1),
    ("fast", "rgb8", 300, 40, 97, 13),
    ("fast", "grey16", 64, 30, 200, 77),
    ("fast", "rgb16", 37, 11, 37, 29),
    ("fast", "grey8", 33, 21, 1, 1),
]


def main():
    command = sys.argv[1:]
    rng = np.random.default_rng(20261210)
    jobs, expected = [], []
    for i, (mode, layout, sw, sh, ow, oh) in enumerate(CASES):
        dtype = np.uint16 if layout.endswith("16") else np.uint8
        top = np.iinfo(dtype).max
        planes = 3 if layout.startswith("rgb") else 1
        # Smooth ramps with noise: both flat stretches and sharp steps occur.
        ramp = np.linspace(0, top, sw)[None, None, :] * np.ones((sh, planes, 1))
        noise = rng.integers(0, top + 1, size=(sh, planes, sw))
        image = np.where(rng.random((sh, planes, sw)) < 0.5, ramp, noise).astype(dtype)
        name_in, name_out = f"resample_case{i}.in", f"resample_case{i}.out"
        image.tofile(name_in)
        jobs.append(f"{mode} {layout} {sw} {sh} {ow} {oh} {name_in} {name_out}\n")
        model = filtered(image.astype(np.int64), ow, oh, top) if mode == "filtered" else \
            fast(image.astype(np.int64), ow, oh)
        expected.append((name_out, dtype, model, 1 if mode == "filtered" else 0))
    with open("resample_jobs.txt", "w") as f:
        f.writelines(jobs)
    subprocess.run(command + ["resample_jobs.txt"], check=True)
    failed = False
    for (name_out, dtype, model, tolerance), case in zip(expected, CASES):
        got = np.fromfile(name_out, dtype=dtype).astype(np.int64)
        if got.size != model.size:
            print(f"{case}: {got.size} samples, expected {model.size}")
            failed = True
            continue
        diff = np.abs(got - model.reshape(-1)).max()
        status = "ok" if diff <= tolerance else "FAIL"
        print(f"{status} {case}: largest difference {diff} (allowed {tolerance})")
        failed |= diff > tolerance
        os.remove(name_out)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
