#!/usr/bin/env python3
"""Numerical check of the L*a*b* kernels against a numpy model of their
fixed-point formulas, and their distance from the double-precision routines.

Usage: lab_reference.py [runner...] lab_tool

For each RGB basis the tool converts every 8-bit grey and a random sample of
colours; the integer kernels must equal the model exactly. The largest
differences from the double routines are printed and held to small bounds.
"""
import os
import subprocess
import sys

import numpy as np

SET2 = (0.64, 0.33, 0.29, 0.71, 0.14, 0.08)
SET3 = (0.625, 0.34, 0.28, 0.595, 0.155, 0.07)
WIDE_GREEN = (0.70, 0.29, 0.10, 0.85, 0.15, 0.05)
D50, D65, D93 = (0.3457, 0.3585), (0.3127, 0.3290), (0.2848, 0.2932)
CASES = [(1.8, SET3, D65), (2.2, SET2, D50), (1.0, SET2, D93), (1.8, WIDE_GREEN, D65)]

# Largest allowed distance of the kernels from the double routines, in 8-bit
# units (L as 2.55 x L*, a and b as a*, b*; RGB levels on the way back). The
# way back runs through 12-bit linear light, whose lowest steps the encoding
# curve spreads over several levels: channels below level 32 get a wider bound.
LAB_BOUND = 1.5
RGB_BOUND = 3.0
RGB_DARK_BOUND = 16.0
DARK = 32


def rnd(x):
    """The data source's rounding: truncation of x + 0.5 toward zero."""
    return np.trunc(np.asarray(x, dtype=float) + 0.5).astype(np.int64)


def cdiv(n, d):
    """C integer division (toward zero)."""
    q = np.abs(n) // np.abs(d)
    return np.where((n < 0) != (np.asarray(d) < 0), -q, q)


def tables(gamma, primaries, white):
    primaries = np.array(primaries, dtype=np.float32).astype(float)
    wx, wy = np.array(white, dtype=np.float32).astype(float)
    v = np.arange(4097) / 4096.0
    t = {"cube": rnd(65536 * v**3), "root": rnd(65536 * np.cbrt(v)),
         "encode": rnd(255 * (np.arange(4096) / 4095.0) ** (1.0 / gamma)),
         "decode": rnd(4095 * (np.arange(256) / 255.0) ** gamma)}
    x, y = primaries[0::2], primaries[1::2]
    chroma = np.vstack([x, y, 1 - x - y])
    weights = np.linalg.solve(chroma, np.array([wx, wy, 1 - wx - wy]))
    m = chroma * weights[None, :]
    t["m"] = rnd(m * 65536)
    t["white"] = np.maximum(1, rnd(m.sum(axis=1) * 4095))
    t["minv"] = rnd(np.linalg.inv(m) * 4096)
    return t


def interpolate(table, v):
    i, w = np.clip(v >> 4, 0, 4095), v & 15
    return (table[i] * (16 - w) + table[i + 1] * w + 7) >> 4


def forward_f(t, rgb):
    lin = t["decode"][rgb]                      # 3 x n
    ratio = cdiv(t["m"] @ lin, t["white"][:, None])
    toe = ((1993 * np.maximum(ratio, -65536)) >> 8) + 9039
    f = np.where(ratio <= 580, toe, np.where(ratio >= 65536, t["root"][4096], interpolate(t["root"], ratio)))
    return f[0], f[1], f[2]


def forward(t, rgb):
    fx, fy, fz = forward_f(t, rgb)
    l8 = ((fy >> 4) * 4733 - 2673997) >> 16
    da, db = 500 * (fx - fy), 200 * (fy - fz)
    signed = np.vstack([np.clip(l8, 0, 255), np.clip((da + 32767) >> 16, -127, 127),
                        np.clip((db + 32767) >> 16, -127, 127)]) & 0xFF
    offset = np.vstack([np.clip(l8, 0, 255), np.clip((da + 0x807FFF) >> 16, 0, 255),
                        np.clip((db + 0x807FFF) >> 16, 0, 255)])
    lab16 = np.clip(np.vstack([((fy >> 4) * 4733 - 2673997) >> 8, (da + 0x80007F) >> 8,
                               (db + 0x80007F) >> 8]), 0, 65535)
    return signed, offset, lab16


def inverse(t, lab):
    a, b = lab[1] - 128, lab[2] - 128
    fy = ((lab[0] << 16) * 16 + 2673997 * 16) // 4733
    f = np.vstack([fy + cdiv(a * 65536, 500), fy, fy - cdiv(b * 65536, 200)])
    ratio = np.where(f <= 13559, ((f - 9039) * 33) >> 8,
                     np.where(f >= 65536, t["cube"][4096], interpolate(t["cube"], f)))
    xyz = (ratio * t["white"][:, None]) >> 16
    return t["encode"][np.clip((t["minv"] @ xyz) >> 12, 0, 4095)]


def main():
    runner, tool = sys.argv[1:-1], sys.argv[-1]
    rng = np.random.default_rng(27)
    grey = np.repeat(np.arange(256)[None, :], 3, axis=0)
    corners = np.array([[r, g, b] for r in (0, 255) for g in (0, 255) for b in (0, 255)]).T
    rgb = np.hstack([grey, corners, rng.integers(0, 256, size=(3, 30000))]).astype(np.int64)
    n = rgb.shape[1]
    with open("lab_in.raw", "wb") as f:
        f.write(rgb.astype(np.uint8).tobytes())
    failures = 0
    worst_lab = worst_rgb = worst_dark = 0.0
    for gamma, primaries, white in CASES:
        args = [str(gamma)] + [repr(v) for v in primaries + white] + ["lab_in.raw", "lab_out.raw"]
        subprocess.run(runner + [tool] + args, check=True)
        raw = open("lab_out.raw", "rb").read()
        sizes = [(np.uint8, 3 * n), (np.uint8, 3 * n), (np.uint16, 3 * n), (np.float64, 3 * n),
                 (np.uint8, 3 * n), (np.float64, 3 * n)]
        parts, at = [], 0
        for dtype, count in sizes:
            parts.append(np.frombuffer(raw, dtype=dtype, count=count, offset=at).reshape(3, n).astype(np.int64
                         if dtype != np.float64 else float))
            at += count * np.dtype(dtype).itemsize
        signed, offset, lab16, lab_double, rgb_back, rgb_back_double = parts
        t = tables(gamma, primaries, white)
        model = forward(t, rgb) + (inverse(t, offset),)
        name = "gamma %.1f primaries %s white %s" % (gamma, primaries, white)
        for label, got, want in zip(("Lab8 signed", "Lab8 offset", "Lab16", "RGB8 from Lab8"),
                                    (signed, offset, lab16, rgb_back), model):
            bad = np.nonzero((got != want).any(axis=0))[0]
            if bad.size:
                failures += 1
                i = bad[0]
                print("FAIL %s %s: %d colours differ, first rgb %s got %s want %s"
                      % (name, label, bad.size, rgb[:, i], got[:, i], want[:, i]))
        # Distance from the doubles where the doubles lie inside the 8-bit range.
        inside = (np.abs(lab_double[1:]) <= 126).all(axis=0)
        scaled = np.vstack([lab_double[0] * 2.55, lab_double[1:] + 128])
        lab_diff = np.abs(offset - scaled)[:, inside].max()
        rgb_diff = np.abs(rgb_back - rgb_back_double * 255)
        bright = rgb_back_double * 255 >= DARK
        rgb_bright, rgb_all = rgb_diff[bright].max(), rgb_diff.max()
        worst_lab = max(worst_lab, lab_diff)
        worst_rgb, worst_dark = max(worst_rgb, rgb_bright), max(worst_dark, rgb_all)
        print("%s: kernels vs doubles: Lab8 %.3f, RGB8 from Lab8 %.3f (%.3f with channels below %d)"
              % (name, lab_diff, rgb_bright, rgb_all, DARK))
    print("largest difference from the double routines: Lab8 %.3f (bound %.1f), RGB8 %.3f (bound %.1f), "
          "%.3f with dark channels (bound %.1f)" % (worst_lab, LAB_BOUND, worst_rgb, RGB_BOUND, worst_dark,
                                                    RGB_DARK_BOUND))
    if worst_lab > LAB_BOUND or worst_rgb > RGB_BOUND or worst_dark > RGB_DARK_BOUND:
        failures += 1
    os.remove("lab_in.raw")
    os.remove("lab_out.raw")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
