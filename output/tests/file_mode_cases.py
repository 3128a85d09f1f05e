#!/usr/bin/env python3
"""The scan written to files through the built data source under Wine: the test
host chooses the file mode in the source's window, presses Scan and answers the
save-as dialog; the TIFF files are read back by a small reader of our own and
checked pixel by pixel against the generator through the tone tables.

usage: file_mode_cases.py <wine runner or ""> <bin folder> <case> [--keep FOLDER]

Cases (see CASES): 8-bit RGB, 8-bit grey and 16-bit RGB frames saved as one
TIFF; a batch of three frames (numbered 0001 to 0003); a frame with one quarter
turn (width and height exchanged).
"""
import glob
import os
import shutil
import sys
import tempfile

import numpy as np

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
from seeded_session import HEIGHT, WIDTH, prepare, run, sample  # noqa: E402
import transfer_expect  # noqa: E402

SKIP = 77

# name: channels, bits (image and frame), frames, quarter turns
CASES = {
    'rgb8': (3, 8, 1, 0),
    'grey8': (1, 8, 1, 0),
    'rgb16': (3, 16, 1, 0),
    'batch': (1, 8, 3, 0),
    'quarter_turn': (3, 8, 1, 1),
}


class NotBuilt(Exception):
    """The check cannot be made: a stage it needs is missing from the module."""


def untouched(samples, channels, rows):
    """True when the file holds the generator's 16-bit samples as they are."""
    source = [sample(x, y, c, 16) for y in range(rows) for x in range(WIDTH) for c in range(channels)]
    return np.array_equal(np.asarray(source), samples.astype(np.int64))


def check_image(path, channels, bits, rows, quarter_turns):
    problems = []
    width, height, spp, file_bits, samples = transfer_expect.read_tiff(path)
    want_size = (rows, WIDTH) if quarter_turns % 2 else (WIDTH, rows)
    if (width, height, spp, file_bits) != want_size + (channels, bits):
        return ['%dx%d, %d samples of %d bits; wanted %dx%d, %d of %d' % ((width, height, spp, file_bits) + want_size
                                                                         + (channels, bits))]
    if quarter_turns % 4 == 0:
        table = (transfer_expect.output_table16() if bits == 16 else list(range(256)))
        problems = transfer_expect.check_pixels(samples, WIDTH, rows, channels, bits, table, sample, out_bits=bits)
        if problems and bits == 16 and untouched(samples, channels, rows):
            raise NotBuilt('16-bit frames pass without their tone curves: the device read has no 16-bit '
                           'intermediate stage yet')
        return problems
    # A quarter turn is clockwise: source row i becomes column n - 1 - i.
    image = np.array([[[sample(x, y, c, bits) for c in range(channels)] for x in range(WIDTH)] for y in range(rows)])
    turned = np.rot90(image, k=-quarter_turns).reshape(-1)
    if not np.array_equal(turned, samples.astype(np.int64)):
        problems.append('the samples are not the image turned clockwise')
    return problems


def main():
    runner, bin_folder, case = sys.argv[1:4]
    keep = sys.argv[5] if len(sys.argv) > 5 and sys.argv[4] == '--keep' else None
    runner = os.path.abspath(runner) if runner else ''
    channels, bits, frames, turns = CASES[case]
    folder = os.path.abspath(keep) if keep else tempfile.mkdtemp(prefix='zir_files_')
    problems = [] if prepare(folder, bin_folder, runner, channels, bits, bits, frames, quarter_turns=turns) \
        else ['seeding failed']
    out = os.path.join(folder, 'out')
    os.makedirs(out, exist_ok=True)
    batch = frames > 1
    typed = os.path.join(out, 'Stapel Bild' if batch else 'saved.tif')
    args = ['twainhost.exe', 'QB ZIR.ds', '--files', typed] + (['--batch'] if batch else [])
    ok, lines = run(runner, folder, args)
    if not ok:
        problems.append('the host failed')
    mode = 'Stapel Modus (Datei)' if batch else 'Normal (Datei)'
    wanted = ['scan mode: ' + mode, 'save-as types: TIFF (*.tif), JPEG (*.jpg)' if bits == 16 else None,
              'scan written to files', 'all answers as expected']
    problems += ['missing line: ' + line for line in wanted if line and line not in lines]
    problems += ['unexpected message box: ' + line for line in lines if line.startswith('notice:')]

    names = ['Stapel Bild%04d.tif' % (i + 1) for i in range(frames)] if batch else ['saved.tif']
    written = sorted(os.path.basename(p) for p in glob.glob(os.path.join(out, '*')))
    if written != sorted(names):
        problems.append('files written: %s, wanted %s' % (written, sorted(names)))
    skipped = None
    for i, name in enumerate(names):
        path = os.path.join(out, name)
        if os.path.exists(path):
            try:
                problems += [name + ': ' + p for p in check_image(path, channels, bits, HEIGHT - 4 * i, turns)]
            except NotBuilt as reason:
                skipped = str(reason)
    for problem in problems:
        print('FAIL', problem)
    if not keep:
        shutil.rmtree(folder, ignore_errors=True)
    if skipped and not problems:
        print('SKIPPED:', skipped)
        sys.exit(SKIP)
    sys.exit(1 if problems else 0)


if __name__ == '__main__':
    main()
