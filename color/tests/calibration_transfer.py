"""The IT8 calibration in a whole transfer through the built data source under
Wine: a calibration profile written here (identity grey row, a cube that is
not the identity) is the current one with input mode 3, and an RGB frame is
transferred by memory. The 8-bit frame of an 8-bit image must equal a numpy
evaluation of the 8-bit cube lookup (the profile's cube to 8 bits, five
tetrahedra per cell) applied after the tone expectation. The 16-bit frame of a
16-bit image goes through the 16-bit intermediate stage: the input gamma
table, the lookup in the cube of doubles, the shared output table back to 16
bits, then the frame's 16-bit tone table.

usage: calibration_transfer.py <wine runner> <bin folder> 8|16"""
import os
import shutil
import sys

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'tools'))
from seeded_session import HEIGHT, WIDTH, prepare, run, sample  # noqa: E402
import calibration_reader  # noqa: E402
import transfer_expect  # noqa: E402
from tone_reference import gamma_table  # noqa: E402

# The stage's tables have 14-bit entries; the gamma is the reflective original's.
STAGE_LEVELS = 16384
GAMMA = transfer_expect.REFLECTIVE_GAMMA

PROFILE = 'Testkalibrierung'


def calibration_cube():
    """A smooth transform away from the identity, at the identity's node inputs."""
    x = np.minimum(8 * np.arange(33), 255) / 255.0
    r, g, b = np.meshgrid(x, x, x, indexing='ij')
    out = np.stack([0.75 * r + 0.2 * g, g ** 0.7, 1.0 - 0.6 * (1.0 - b) - 0.05 * r], axis=-1)
    return np.clip(out, 0.0, 1.0).reshape(-1)


def read_back(doubles):
    """The cube as the data source reads it back from its 2^30 fixed point."""
    return np.floor(doubles * 2 ** 30 + 0.5) / 2 ** 30


def cube8_of(doubles):
    """The read-back cube taken to 8 bits."""
    return np.clip(np.trunc(read_back(doubles) * 255 + 0.5), 0, 255).astype(np.int64).reshape(-1, 3)


def lookup8(cube, rgb):
    """The 8-bit tetrahedral lookup of pixels (n x 3)."""
    big = 65536
    i = rgb >> 3
    f0, f1, f2 = [((rgb[:, n] & 7) << 13)[:, None] for n in range(3)]
    base = (i[:, 0] * 33 + i[:, 1]) * 33 + i[:, 2]

    def p(a, b, c):
        return cube[base + 1089 * a + 33 * b + c]

    p000, p100, p010, p001 = p(0, 0, 0), p(1, 0, 0), p(0, 1, 0), p(0, 0, 1)
    p011, p101, p110, p111 = p(0, 1, 1), p(1, 0, 1), p(1, 1, 0), p(1, 1, 1)
    cases = [
        (f0 + f1 + f2 <= big, p000 * big + (p100 - p000) * f0 + (p010 - p000) * f1 + (p001 - p000) * f2),
        (f1 + f2 - f0 >= big, p011 * big + (p111 - p011) * f0 + (p001 - p011) * (big - f1) + (p010 - p011) * (big - f2)),
        (f0 - f1 + f2 >= big, p101 * big + (p001 - p101) * (big - f0) + (p111 - p101) * f1 + (p100 - p101) * (big - f2)),
        (f0 + f1 - f2 >= big, p110 * big + (p010 - p110) * (big - f0) + (p100 - p110) * (big - f1) + (p111 - p110) * f2),
    ]
    value = (p111 * big + (p100 - p111) * ((f0 - f1 - f2 + big) >> 1) + (p010 - p111) * ((f1 - f0 - f2 + big) >> 1)
             + (p001 - p111) * ((f2 - f0 - f1 + big) >> 1))
    for condition, case in reversed(cases):
        value = np.where(condition, case, value)
    return np.clip(value, 0, 0xFFFFFF) >> 16


def lookup_doubles(cube, rgb):
    """The lookup of colours 0..1 (n x 3) in a cube of doubles: position value x 31.99951171875,
    F = 1, the same five tetrahedra and order, halves as x 0.5, outputs clamped to 0..1."""
    position = rgb * 31.99951171875
    i = np.trunc(position).astype(np.int64)
    f0, f1, f2 = [(position[:, n] - i[:, n])[:, None] for n in range(3)]
    base = (i[:, 0] * 33 + i[:, 1]) * 33 + i[:, 2]

    def p(a, b, c):
        return cube[base + 1089 * a + 33 * b + c]

    p000, p100, p010, p001 = p(0, 0, 0), p(1, 0, 0), p(0, 1, 0), p(0, 0, 1)
    p011, p101, p110, p111 = p(0, 1, 1), p(1, 0, 1), p(1, 1, 0), p(1, 1, 1)
    cases = [
        (f0 + f1 + f2 <= 1, p000 + (p100 - p000) * f0 + (p010 - p000) * f1 + (p001 - p000) * f2),
        (f1 + f2 - f0 >= 1, p011 + (p111 - p011) * f0 + (p001 - p011) * (1 - f1) + (p010 - p011) * (1 - f2)),
        (f0 - f1 + f2 >= 1, p101 + (p001 - p101) * (1 - f0) + (p111 - p101) * f1 + (p100 - p101) * (1 - f2)),
        (f0 + f1 - f2 >= 1, p110 + (p010 - p110) * (1 - f0) + (p100 - p110) * (1 - f1) + (p111 - p110) * f2),
    ]
    value = (p111 + (p100 - p111) * ((f0 - f1 - f2 + 1) * 0.5) + (p010 - p111) * ((f1 - f0 - f2 + 1) * 0.5)
             + (p001 - p111) * ((f2 - f0 - f1 + 1) * 0.5))
    for condition, case in reversed(cases):
        value = np.where(condition, case, value)
    return np.clip(value, 0.0, 1.0)


def denormalise(table, values):
    """Colours 0..1 back to 16 bits through a 14-bit table: linear between neighbouring entries
    (shifted to the top of the word), rounded; the last entry at the top."""
    last = len(table) - 1
    v = np.maximum(values * last, 0.0)
    k = np.minimum(v.astype(np.int64), last - 1)
    f = v - k
    shifted = np.asarray(table, dtype=np.int64) << 2
    between = np.trunc(shifted[k] * (1.0 - f) + shifted[k + 1] * f + 0.5)
    return np.where(v < last, between, shifted[last]).astype(np.int64)


def expected16(doubles, source):
    """The 16-bit stage of the calibration: identity grey row, so the input tables are the gamma
    tables; the cube of doubles; the shared output table of 1 / gamma; the frame's tone table."""
    inputs = gamma_table(STAGE_LEVELS, STAGE_LEVELS, GAMMA, False)
    shared = gamma_table(STAGE_LEVELS, STAGE_LEVELS, 1.0 / GAMMA, False)
    colours = inputs[source >> 2] / float(STAGE_LEVELS - 1)
    stage = denormalise(shared, lookup_doubles(read_back(doubles).reshape(-1, 3), colours))
    tone = transfer_expect.output_table16()
    return tone[stage >> 2] << 2, tone[source >> 2] << 2


def main():
    runner, bin_folder, bits = sys.argv[1], sys.argv[2], int(sys.argv[3])
    runner = os.path.abspath(runner) if runner else ''
    folder = os.path.abspath('calibration_transfer_%d' % bits)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.join(folder, 'Quillbrook'))
    doubles = calibration_cube()
    calibration_reader.write_itp(os.path.join(folder, 'Quillbrook', PROFILE + '.itp'), doubles)

    problems = []
    if not prepare(folder, bin_folder, runner, channels=3, image_bits=bits, frame_bits=bits, calibration=PROFILE):
        problems.append('seeding failed')
    ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--transfer', 'memory', '--out', 'received.ppm'])
    if not ok:
        problems.append('the host failed')
    problems += ['missing line: ' + line for line in ('images transferred: 1', 'all answers as expected')
                 if line not in lines]

    source = np.array([[sample(x, y, c, bits) for c in range(3)] for y in range(HEIGHT) for x in range(WIDTH)])
    if bits == 8:
        table = transfer_expect.output_table()
        plain = table[source]
        want = lookup8(cube8_of(doubles), plain)
    else:
        want, plain = expected16(doubles, source)
    path = os.path.join(folder, 'received.ppm')
    if os.path.exists(path):
        width, height, top, samples = transfer_expect.read_ppm(path)
        if (width, height, top) != (WIDTH, HEIGHT, (1 << bits) - 1):
            problems.append('received %dx%d with maximum %d' % (width, height, top))
        else:
            got = samples.T
            bad = np.nonzero((got != want).any(axis=1))[0]
            moved = int(np.abs(want - plain).max()) >> (bits - 8)
            print('%d of %d pixels differ from the model; the cube moves samples by up to %d of 255'
                  % (bad.size, len(got), moved))
            for i in bad[:5]:
                problems.append('pixel %d,%d: %s, wanted %s (source %s)' % (i % WIDTH, i // WIDTH, list(got[i]),
                                                                          list(want[i]), list(source[i])))
            if moved < 10:
                problems.append('the cube hardly changes the image')
    else:
        problems.append('received.ppm not written')
    if not problems:
        shutil.rmtree(folder, ignore_errors=True)
    for problem in problems:
        print('FAIL', problem)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
