"""An 8-bit RGB frame taken as CMYK by memory transfer through the built data
source under Wine, separated by a CMYK table file of "PPCMYK Profile\\"
(output colour-management mode 5): the band producer converts each row to
16-bit L*a*b* and separates it through the table. Every received sample must
equal the numpy model: the L*a*b* kernel's model (lab_reference.py, the
standard RGB basis) and the tetrahedral kernel's (cmyk_reference.py) over
the table, whose nodes transicc computed from a CMYK printer profile.

usage: cmyk_transfer.py <wine runner> <bin folder>
Exit 77 (skipped) without transicc."""
import os
import shutil
import sys

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'tools'))
from seeded_session import HEIGHT, WIDTH, prepare, run, sample  # noqa: E402
import cmyk_reference  # noqa: E402
import icc_tools  # noqa: E402
import lab_reference  # noqa: E402

SKIP = 77
TABLE = 'printer.ast'
# The basis the data source sets up without an internal profile or a host basis.
STANDARD_BASIS = (1.8, (0.625, 0.34, 0.28, 0.595, 0.155, 0.07), (0.3127, 0.3290))


def read_pam(path):
    data = open(path, 'rb').read()
    end = data.index(b'ENDHDR\n') + len(b'ENDHDR\n')
    head = dict(line.split(' ', 1) for line in data[:end].decode().splitlines()[1:-1])
    return int(head['WIDTH']), int(head['HEIGHT']), int(head['DEPTH']), np.frombuffer(data[end:], dtype=np.uint8)


def main():
    runner, bin_folder = sys.argv[1:3]
    if not shutil.which('transicc'):
        print('transicc missing (liblcms2-utils): skipped')
        return SKIP
    runner = os.path.abspath(runner) if runner else ''
    folder = os.path.abspath('cmyk_transfer')
    shutil.rmtree(folder, ignore_errors=True)
    tables = os.path.join(folder, 'Quillbrook', 'PPCMYK Profile')
    os.makedirs(tables)
    profile = os.path.join(folder, 'printer.icc')
    with open(profile, 'wb') as f:
        f.write(icc_tools.cmyk_printer_profile('Test printer'))
    forward, reverse = cmyk_reference.sample_profile(profile)
    cmyk_reference.write_table_file(os.path.join(tables, TABLE), forward, reverse)

    problems = []
    if not prepare(folder, bin_folder, runner, channels=3, cmyk=(5, TABLE)):
        problems.append('seeding failed')
    ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--transfer', 'memory', '--out', 'received.pam'])
    if not ok:
        problems.append('the host failed')
    problems += ['missing line: ' + line for line in ('images transferred: 1', 'all answers as expected')
                 if line not in lines]

    # A neutral 8-bit frame hands on the generator's samples; the band complements the separated inks.
    rgb = np.array([[sample(x, y, c, 8) for y in range(HEIGHT) for x in range(WIDTH)] for c in range(3)])
    gamma, primaries, white = STANDARD_BASIS
    lab16 = lab_reference.forward(lab_reference.tables(gamma, primaries, white), rgb)[2]
    want = 255 - cmyk_reference.separate16to8(forward, lab16)
    path = os.path.join(folder, 'received.pam')
    if os.path.exists(path):
        width, height, depth, data = read_pam(path)
        if (width, height, depth, data.size) != (WIDTH, HEIGHT, 4, WIDTH * HEIGHT * 4):
            problems.append('received %dx%d x %d (%d bytes)' % (width, height, depth, data.size))
        else:
            got = data.reshape(-1, 4).astype(np.int64)
            bad = np.nonzero((got != want).any(axis=1))[0]
            spread = [int(want[:, c].max() - want[:, c].min()) for c in range(4)]
            print('%d of %d pixels differ from the model; the inks span %s levels' % (bad.size, len(got), spread))
            for i in bad[:5]:
                problems.append('pixel %d,%d: %s, wanted %s' % (i % WIDTH, i // WIDTH, list(got[i]), list(want[i])))
            if min(spread) < 10:
                problems.append('the separation hardly varies over the image')
    else:
        problems.append('received.pam not written')
    if not problems:
        shutil.rmtree(folder, ignore_errors=True)
    for problem in problems:
        print('FAIL', problem)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
