#!/usr/bin/env python3
"""The live pane of the progress window during a scan of a 20-megapixel frame, under Wine.

usage: live_pane_session.py <wine runner or ""> <bin folder> [--keep FOLDER]

The seeded folder's image is a generated 5600 x 3600 RGB TIFF with one frame over all of it. The test
host presses Scan in the main window and pulls the image by memory transfer; once half the image has
come it takes the source's progress window as the screen shows it. The picture area must show the rows
read so far (many distinct colours), not an empty face, and the whole image must arrive.
"""
import os
import re
import sys

import numpy

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'readers', 'tests'))
from seeded_session import DPI, finish, prepare, run, session_arguments, windows_path  # noqa: E402
import make_tiff_fixtures as tiff  # noqa: E402
from main_window_session import read_bmp  # noqa: E402

WIDTH, HEIGHT = 5600, 3600
ROWS_PER_STRIP = 64


def write_large_tiff(path):
    """The seeding generator's pattern, built with numpy: the pure-Python one is too slow at this size."""
    tiff_file = tiff.Tiff('<')
    tags = tiff.base_tags(WIDTH, HEIGHT, 3, 8)
    x = numpy.arange(WIDTH, dtype=numpy.int64)[None, :, None]
    c = numpy.arange(3, dtype=numpy.int64)[None, None, :]
    offsets, counts = [], []
    for first in range(0, HEIGHT, ROWS_PER_STRIP):
        y = numpy.arange(first, min(first + ROWS_PER_STRIP, HEIGHT), dtype=numpy.int64)[:, None, None]
        blob = ((x * 37 + y * 101 + c * 59 + x * y * 7) % 256).astype(numpy.uint8).tobytes()
        offsets.append(tiff_file.add_data(blob))
        counts.append(len(blob))
    tags.update({273: (tiff.LONG, offsets), 278: (tiff.LONG, [ROWS_PER_STRIP]), 279: (tiff.LONG, counts),
                 282: (tiff.RATIONAL, [(DPI, 1)]), 283: (tiff.RATIONAL, [(DPI, 1)]), 296: (tiff.SHORT, [2])})
    tiff_file.new_ifd().update(tags)
    data, _ = tiff_file.build()
    with open(path, 'wb') as f:
        f.write(data)


def check_pane(shot, lines):
    match = next((re.match(r'progress window: picture (\d+)x(\d+) at (\d+),(\d+)', line) for line in lines
                  if line.startswith('progress window: picture')), None)
    if not match:
        return ['the host did not report the progress window\'s picture']
    pw, ph, px, py = map(int, match.groups())
    if pw < 16 or ph < 16:
        return [f'the picture area is only {pw}x{ph}']
    _, _, rows = read_bmp(shot)
    colours = {pixel for row in rows[py:py + ph] for pixel in row[px:px + pw]}
    # An empty pane is one face colour; the generated rows give hundreds.
    return [] if len(colours) >= 64 else [f'the picture area shows {len(colours)} colours: no live pane']


def main():
    runner, bin_folder, folder, kept = session_arguments('zir_pane_')
    problems = [] if prepare(folder, bin_folder, runner, channels=3, seed=False) else ['set-up failed']
    if not problems:
        write_large_tiff(os.path.join(folder, 'sample.tif'))
        ok, _ = run(runner, folder, ['seedprefs.exe', windows_path(os.path.join(folder, 'Quillbrook')) + '\\',
                                     windows_path(os.path.join(folder, 'sample.tif')), str(WIDTH), str(HEIGHT),
                                     str(DPI), 'rgb', '8', '1', '1.0'])
        if not ok:
            problems.append('seeding failed')
    if not problems:
        ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--transfer', 'memory',
                                         '--progress-snapshot', 'progress.bmp', '--out', 'received.pnm'])
        wanted = [f'image info: {WIDTH}x{HEIGHT}, 3 samples of 8 bits', 'images transferred: 1',
                  'all answers as expected']
        for line in wanted:
            if not any(got.startswith(line) for got in lines):
                problems.append('missing line: ' + line)
        problems += [line for line in lines if line.startswith('notice:') or line.startswith('FAIL')]
        if not ok:
            problems.append('the host failed')
        if os.path.exists(os.path.join(folder, 'progress.bmp')):
            problems += check_pane(os.path.join(folder, 'progress.bmp'), lines)
        else:
            problems.append('no snapshot of the progress window')

    finish(problems, folder, kept)


if __name__ == '__main__':
    main()
