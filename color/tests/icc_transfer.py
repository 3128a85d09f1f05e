"""An 8-bit RGB transfer through the built data source under Wine with ICC
colour management: the scanner transform of the band producer (input mode 2)
and, in the second case, the output transform to an RGB output profile.
Every received pixel is checked against the tone expectation composed, in
the pipeline's order, with transicc's 8-bit transforms of the same profiles
and intent (0, the built-in one).

usage: icc_transfer.py <wine runner> <bin folder> <profile folder> scanner|output
Exit 77 (skipped) without transicc."""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
from seeded_session import HEIGHT, WIDTH, prepare, run, sample  # noqa: E402
import transfer_expect  # noqa: E402

SKIP = 77
TOLERANCE = 2
# Scanner profile (gamma 1.8) and internal profile (other primaries, gamma 2.2); the RGB output profile.
SCANNER, INTERNAL, OUTPUT = 'table18.icc', 'wide.icc', 'gamma22.icc'


def transicc8(source, target, rows):
    text = ''.join('%d %d %d\n' % tuple(row) for row in rows)
    done = subprocess.run(['transicc', '-n', '-t0', '-i' + source, '-o' + target], input=text, capture_output=True,
                          text=True, check=True)
    values = [[float(v) for v in line.split()] for line in done.stdout.splitlines() if line.strip()]
    if len(values) != len(rows):
        raise RuntimeError('transicc answered %r' % done.stdout[:200])
    return [[min(255, max(0, int(v + 0.5))) for v in row] for row in values]


def main():
    runner, bin_folder, profiles, case = sys.argv[1:5]
    if not shutil.which('transicc'):
        print('transicc missing (liblcms2-utils): skipped')
        return SKIP
    runner = os.path.abspath(runner) if runner else ''
    folder = tempfile.mkdtemp(prefix='zir_icc_')
    chain = [SCANNER, INTERNAL] + ([OUTPUT] if case == 'output' else [])
    for name in chain:
        shutil.copy(os.path.join(profiles, name), folder)
    problems = []
    if not prepare(folder, bin_folder, runner, channels=3, profiles=[os.path.join(folder, n) for n in chain]):
        problems.append('seeding failed')
    ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--transfer', 'memory', '--out', 'received.ppm'])
    if not ok:
        problems.append('the host failed')
    problems += ['missing line: ' + line for line in ('images transferred: 1', 'all answers as expected')
                 if line not in lines]

    # A neutral 8-bit frame hands on the generator's samples; then each transform in turn.
    table = list(range(256))
    pixels = [[table[sample(x, y, c, 8)] for c in range(3)] for y in range(HEIGHT) for x in range(WIDTH)]
    for source, target in zip(chain, chain[1:]):
        pixels = transicc8(os.path.join(folder, source), os.path.join(folder, target), pixels)
    path = os.path.join(folder, 'received.ppm')
    if os.path.exists(path):
        data = transfer_expect.received(path, 3)
        if len(data) != WIDTH * HEIGHT * 3:
            problems.append('%d samples, wanted %d' % (len(data), WIDTH * HEIGHT * 3))
        else:
            worst = max(abs(data[3 * i + c] - want[c]) for i, want in enumerate(pixels) for c in range(3))
            moved = max(abs(data[3 * i + c] - sample(i % WIDTH, i // WIDTH, c, 8)) for i in range(len(pixels))
                        for c in range(3))
            print('largest difference from transicc %d; the transforms move samples by up to %d' % (worst, moved))
            if worst > TOLERANCE:
                first = next(i for i, want in enumerate(pixels) if any(abs(data[3 * i + c] - want[c]) > TOLERANCE
                                                                      for c in range(3)))
                problems.append('pixel %d,%d: %r, wanted %r' % (first % WIDTH, first // WIDTH,
                                                                list(data[3 * first:3 * first + 3]), pixels[first]))
            if moved < 10:
                problems.append('the transforms hardly changed the image')
    else:
        problems.append('received.ppm not written')
    if not problems:
        shutil.rmtree(folder, ignore_errors=True)
    for problem in problems:
        print('FAIL', problem)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
