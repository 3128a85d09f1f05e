#!/usr/bin/env python3
"""The separation-table lookup written from its definition in numpy (float
hue, value and saturation, trilinear weights from their formula), checked
against the kernel on a random table and on random and edge colours.

usage: separation_reference.py [runner...] separation_tool
The tool reads an ".ast" file and n colours as three 8-bit planes and writes
the four 8-bit ink planes of SeparateLinePlanar8."""
import os
import subprocess
import sys

import numpy as np

TABLE_BYTES = 100352
HEADER_BYTES = 512
F32 = np.float32


def value_nodes():
    return [v * 255 // 31 for v in range(32)]


def write_ast(path, table):
    """An ".ast" separation table: 512 header bytes (not read), then the table complemented."""
    table = np.asarray(table, dtype=np.uint8).reshape(-1)
    assert table.size == TABLE_BYTES
    with open(path, 'wb') as f:
        f.write(bytes(range(256)) * 2)
        f.write((255 - table).tobytes())


def separate(table, r, g, b):
    """(n, 4) inks for the colours: planar r, g, b arrays of 8-bit values."""
    r, g, b = (np.asarray(x, dtype=np.int64) for x in (r, g, b))
    s0 = (r >= g) & (r >= b)
    s2 = ~s0 & (g >= b)
    sextant = np.where(s0, 0, np.where(s2, 2, 4))
    diff = np.where(s0, g - b, np.where(s2, b - r, r - g))
    top = np.where(s0, r, np.where(s2, g, b))
    span = top - np.minimum(np.minimum(r, g), b)
    recip = np.zeros(256, dtype=F32)
    recip[1:] = F32(1) / np.arange(1, 256, dtype=F32)
    hue = sextant.astype(F32) + diff.astype(F32) * recip[span]
    hue = np.where(hue < 0, hue + F32(6), hue).astype(F32)
    sat = np.minimum(span.astype(F32) * recip[top], F32(0.99609375)).astype(F32)
    hue_step = np.rint(hue.astype(np.float64) * 256).astype(np.int64) // 4
    sat_step = np.rint(sat.astype(np.float64) * 1024).astype(np.int64) // 4
    h, a = hue_step >> 3, hue_step & 7
    s, t = sat_step // 17, sat_step % 17
    nodes = value_nodes()
    seg = np.array([max(n for n in range(32) if nodes[n] <= x) for x in range(256)])[top]
    start = np.array(nodes)[seg]
    width = np.where(seg < 31, np.array(nodes[1:] + [256])[seg] - start, 8)
    f = top - start
    A, F, T, D = 8 - a, width - f, 17 - t, 136 * width
    parts = [None, A * F * t, A * f * T, A * f * t, a * F * T, a * F * t, a * f * T, a * f * t]
    weights = [None] + [256 * (256 * p // D) for p in parts[1:]]
    weights[0] = 65536 - sum(weights[1:])
    flat = np.concatenate([np.asarray(table, dtype=np.int64).reshape(-1), np.zeros(256, dtype=np.int64)])
    base = h * 2048 + seg * 64 + s * 4
    corners = [0, 4, 64, 68, 2048, 2052, 2112, 2116]
    out = np.zeros((r.size, 4), dtype=np.int64)
    for c in range(4):
        total = sum(w * flat[base + off + c] for w, off in zip(weights, corners))
        out[:, c] = total >> 16
    return out


def colours(rng):
    """Edge colours (greys, primaries and secondaries, sextant borders, the
    last hue step, saturation clamps) and random ones, as three planes."""
    edge = [(v, v, v) for v in range(256)]
    for top in (1, 8, 9, 41, 127, 200, 254, 255):
        for low in {0, top // 2, top - 1}:
            edge += [(top, low, low), (low, top, low), (low, low, top), (top, top, low), (top, low, top),
                     (low, top, top), (top, low, min(255, low + 1)), (top, min(top, low + 1), low)]
    edge += [(255, 0, 1), (254, 0, 1), (255, 1, 0), (0, 255, 1), (1, 0, 255)]
    rand = rng.integers(0, 256, size=(20000, 3))
    pixels = np.vstack([np.array(edge), rand]).astype(np.uint8)
    return pixels[:, 0], pixels[:, 1], pixels[:, 2]


def main():
    runner = sys.argv[1:]
    rng = np.random.default_rng(20261211)
    # Relative names: the tool may run under Wine in this folder.
    folder = 'separation_numpy'
    os.makedirs(folder, exist_ok=True)
    problems = []
    for name, table in (('random', rng.integers(0, 256, TABLE_BYTES)),
                        ('high', rng.integers(200, 256, TABLE_BYTES))):
        ast, planes, result = (os.path.join(folder, name + ext) for ext in ('.ast', '.rgb', '.cmyk'))
        write_ast(ast, table)
        r, g, b = colours(rng)
        with open(planes, 'wb') as f:
            f.write(np.concatenate([r, g, b]).tobytes())
        subprocess.run(runner + [ast, planes, result], check=True)
        got = np.frombuffer(open(result, 'rb').read(), dtype=np.uint8).reshape(4, -1).T
        want = separate(table, r, g, b)
        bad = np.nonzero((got != want).any(axis=1))[0]
        print('%s table: %d colours, %d differ' % (name, r.size, bad.size))
        for i in bad[:5]:
            problems.append('%s table, colour %s: %s, wanted %s' % (name, (r[i], g[i], b[i]), list(got[i]),
                                                                   list(want[i])))
    for problem in problems:
        print('FAIL', problem)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
