"""The IT8 calibration in a whole transfer through the built data source under
Wine: a calibration profile written here (identity grey row, a cube that is
not the identity) is the current one with input mode 3, and an RGB frame is
transferred by memory. The 8-bit frame must equal a numpy evaluation of the
8-bit cube lookup (the profile's cube to 8 bits, five tetrahedra per cell)
applied after the tone expectation.

usage: calibration_transfer.py <wine runner> <bin folder> 8|16
Exit 77 (skipped) for the 16-bit frame: 16-bit output carries no calibration
until the 16-bit intermediate stage is switched on."""
import os
import shutil
import sys

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'tools'))
from seeded_session import HEIGHT, WIDTH, prepare, run, sample  # noqa: E402
import calibration_reader  # noqa: E402
import transfer_expect  # noqa: E402

SKIP = 77
PROFILE = 'Testkalibrierung'


def calibration_cube():
    """A smooth transform away from the identity, at the identity's node inputs."""
    x = np.minimum(8 * np.arange(33), 255) / 255.0
    r, g, b = np.meshgrid(x, x, x, indexing='ij')
    out = np.stack([0.75 * r + 0.2 * g, g ** 0.7, 1.0 - 0.6 * (1.0 - b) - 0.05 * r], axis=-1)
    return np.clip(out, 0.0, 1.0).reshape(-1)


def cube8_of(doubles):
    """The cube as the data source reads it back (fixed point) and takes it to 8 bits."""
    fixed = np.floor(doubles * 2 ** 30 + 0.5) / 2 ** 30
    return np.clip(np.trunc(fixed * 255 + 0.5), 0, 255).astype(np.int64).reshape(-1, 3)


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


def main():
    runner, bin_folder, bits = sys.argv[1], sys.argv[2], int(sys.argv[3])
    if bits == 16:
        print('skipped: 16-bit RGB output carries no calibration cube until the 16-bit intermediate stage is on')
        return SKIP
    runner = os.path.abspath(runner) if runner else ''
    folder = os.path.abspath('calibration_transfer_%d' % bits)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.join(folder, 'Quillbrook'))
    doubles = calibration_cube()
    calibration_reader.write_itp(os.path.join(folder, 'Quillbrook', PROFILE + '.itp'), doubles)

    problems = []
    if not prepare(folder, bin_folder, runner, channels=3, calibration=PROFILE):
        problems.append('seeding failed')
    ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--transfer', 'memory', '--out', 'received.ppm'])
    if not ok:
        problems.append('the host failed')
    problems += ['missing line: ' + line for line in ('images transferred: 1', 'all answers as expected')
                 if line not in lines]

    table = transfer_expect.output_table()
    source = np.array([[sample(x, y, c, 8) for c in range(3)] for y in range(HEIGHT) for x in range(WIDTH)])
    want = lookup8(cube8_of(doubles), table[source])
    path = os.path.join(folder, 'received.ppm')
    if os.path.exists(path):
        data = np.frombuffer(transfer_expect.received(path, 3), dtype=np.uint8).astype(np.int64)
        if data.size != want.size:
            problems.append('%d samples, wanted %d' % (data.size, want.size))
        else:
            got = data.reshape(-1, 3)
            bad = np.nonzero((got != want).any(axis=1))[0]
            moved = int(np.abs(want - table[source]).max())
            print('%d of %d pixels differ from the model; the cube moves samples by up to %d' % (bad.size, len(got), moved))
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
