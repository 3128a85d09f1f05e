#!/usr/bin/env python3
"""Whole transfers of a sharpened and of a descreened frame through the built
data source under Wine, each pixel checked against the numpy models of the
filters (sharpen_reference.py) over the generator's image through the tone
tables (tools/transfer_expect.py).

usage: sharpen_transfer.py <wine runner or ""> <bin folder> <case>

Cases: 'usm' an RGB frame of filter kind 1 at the image's resolution; 'descreen'
a grey frame of kind 3 whose descreen source is the image at its own
resolution, resampled to a third more rows than the halved image has.
"""
import os
import shutil
import sys
import tempfile

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'tools'))
from seeded_session import DPI, HEIGHT, WIDTH, prepare, run, sample  # noqa: E402
import sharpen_reference as model  # noqa: E402
import transfer_expect  # noqa: E402

# kind, threshold, amount, limit, soft shadows, light edge, dark edge, matrix
USM = (1, 2, 160, 70, 1, 60, 90, 1)
DESCREEN = (3, 3, 120, 100, 0, 50, 70, 0)
OUTPUT_DPI = 100  # the halved image is at DPI / 2: more output rows than halved rows, the cubic path

# name: channels, filter (with the descreen ruling and output dpi for kind 3)
CASES = {
    'usm': (3, USM),
    'descreen': (1, DESCREEN + (DPI // 2, OUTPUT_DPI)),
}


def read_pnm(path):
    """(width, height, channels, samples as rows x channels x width) of a binary PGM or PPM."""
    with open(path, 'rb') as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b'#':
            pos = data.index(b'\n', pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    channels = 3 if fields[0] == b'P6' else 1
    width, height = int(fields[1]), int(fields[2])
    pixels = np.frombuffer(data[pos + 1:pos + 1 + width * height * channels], dtype=np.uint8)
    return width, height, channels, pixels.reshape(height, width, channels).transpose(0, 2, 1).astype(np.int64)


def expected(channels, filter_values, out_width, out_height):
    """The generator's image through the tone table, resampled for the descreen kinds, then sharpened."""
    table = np.array(transfer_expect.output_table(), dtype=np.int64)
    image = np.array([[[sample(x, y, c) for x in range(WIDTH)] for c in range(channels)] for y in range(HEIGHT)],
                     dtype=np.int64)
    image = table[image]
    kind = filter_values[0]
    if kind in (2, 3):
        image = model.scale(image, out_width, out_height, 8)
    return model.sharpen(image, *filter_values[:8], negative=0, bits=8)


def main():
    runner, bin_folder, case = sys.argv[1:4]
    runner = os.path.abspath(runner) if runner else ''
    channels, filter_values = CASES[case]
    folder = tempfile.mkdtemp(prefix='zir_sharpen_')
    problems = [] if prepare(folder, bin_folder, runner, channels, filter=filter_values) else ['seeding failed']
    name = 'received.' + ('ppm' if channels == 3 else 'pgm')
    ok, lines = run(runner, folder, ['twainhost.exe', 'QB ZIR.ds', '--transfer', 'memory', '--out', name])
    if not ok:
        problems.append('the host failed')
    problems += ['missing line: ' + line for line in ['images transferred: 1', 'all answers as expected']
                 if line not in lines]
    path = os.path.join(folder, name)
    if not problems and not os.path.exists(path):
        problems.append(name + ' not written')
    if not problems:
        width, height, got_channels, got = read_pnm(path)
        want_size = (WIDTH, HEIGHT) if len(filter_values) == 8 else (
            int(WIDTH * OUTPUT_DPI / DPI + 0.5), int(HEIGHT * OUTPUT_DPI / DPI + 0.5))
        if (width, height, got_channels) != want_size + (channels,):
            problems.append('received %dx%d with %d channels, wanted %dx%d with %d'
                            % ((width, height, got_channels) + want_size + (channels,)))
        else:
            want = expected(channels, filter_values, width, height)
            bad = np.argwhere(got != want)
            if len(bad):
                y, c, x = bad[0]
                problems.append('%d samples differ, first at pixel %d,%d channel %d: %d, wanted %d'
                                % (len(bad), x, y, c, got[y, c, x], want[y, c, x]))
            if case == 'usm' and np.array_equal(want, expected(channels, (0,) + filter_values[1:], width, height)):
                problems.append('the parameters leave the image unsharpened')
    shutil.rmtree(folder, ignore_errors=True)
    for problem in problems:
        print('FAIL', problem)
    sys.exit(1 if problems else 0)


if __name__ == '__main__':
    main()
